// References, sums, signal filters and price limits over 1,000,000 bars of a
// deterministic random walk, with constant and per-bar parameters.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "strategy/reference/align_right_strategy.h"
#include "strategy/reference/alt_filter_strategy.h"
#include "strategy/reference/back_set_strategy.h"
#include "strategy/reference/const_strategy.h"
#include "strategy/reference/dt_price_strategy.h"
#include "strategy/reference/filter_strategy.h"
#include "strategy/reference/mular_strategy.h"
#include "strategy/reference/ref_strategy.h"
#include "strategy/reference/refx_strategy.h"
#include "strategy/reference/sum_bars_strategy.h"
#include "strategy/reference/sum_strategy.h"
#include "strategy/reference/zt_price_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

struct Inputs {
  DataExt walk;     // random walk around 1000 with an invalid bar in 50
  DataExt factors;  // walk / previous walk: close to 1
  DataExt up;       // 1 where the walk rose, else 0
  DataExt down;     // 1 where the walk fell, else 0
  DataExt periods;  // per-bar periods, 1 to 30
};

const Inputs& Data() {
  static const Inputs inputs = [] {
    std::mt19937_64 rng(42);
    std::normal_distribution<double> step(0.0, 1.0);
    std::uniform_int_distribution<int> period(1, 30), one_in(0, 49);
    std::vector<double> walk, factors, up, down, periods;
    double level = 1000.0;
    for (size_t i = 0; i < kBars; ++i) {
      const double move = step(rng);
      factors.push_back((level + move) / level);
      level += move;
      walk.push_back(one_in(rng) == 0 ? -100000.0 : level);
      up.push_back(move > 0.0 ? 1.0 : 0.0);
      down.push_back(move < 0.0 ? 1.0 : 0.0);
      periods.push_back(period(rng));
    }
    return Inputs{DataExt(walk), DataExt(factors), DataExt(up), DataExt(down), DataExt(periods)};
  }();
  return inputs;
}

DataExt Repeated(double value) { return DataExt(std::vector<double>(kBars, value)); }

struct Case {
  const char* name;
  DataExt (*run)(const Inputs&);
};

const Case kCases[] = {
    {"Ref/const5", [](const Inputs& d) { return Ref(d.walk, 5); }},
    {"Ref/perbar", [](const Inputs& d) { return Ref(d.walk, d.periods); }},
    {"Refx/const5", [](const Inputs& d) { return Refx(d.walk, 5); }},
    {"Refx/perbar", [](const Inputs& d) { return Refx(d.walk, d.periods); }},
    {"Sum/const20", [](const Inputs& d) { return Sum(d.walk, 20); }},
    {"Sum/cumulative", [](const Inputs& d) { return Sum(d.walk, 0); }},
    {"Sum/perbar", [](const Inputs& d) { return Sum(d.walk, d.periods); }},
    {"Sum/perbar_huge", [](const Inputs& d) {
       static const DataExt huge = Repeated(1e12);
       return Sum(d.walk, huge);
     }},
    {"SumBars/target10000", [](const Inputs& d) {
       static const DataExt target = Repeated(10000);
       return SumBars(d.walk, target);
     }},
    {"Mular/perbar", [](const Inputs& d) { return Mular(d.factors, d.periods); }},
    {"Mular/all", [](const Inputs& d) {
       static const DataExt all = Repeated(1e12);
       return Mular(d.factors, all);
     }},
    {"Const", [](const Inputs& d) { return Const(d.walk); }},
    {"AlignRight", [](const Inputs& d) { return AlignRight(d.walk); }},
    {"BackSet/const5", [](const Inputs& d) { return BackSet(d.up, 5.0); }},
    {"BackSet/perbar", [](const Inputs& d) { return BackSet(d.up, d.periods); }},
    {"Filter/const5", [](const Inputs& d) { return Filter(d.up, 5.0); }},
    {"Filter/perbar", [](const Inputs& d) { return Filter(d.up, d.periods); }},
    {"AltFilter", [](const Inputs& d) { return AltFilter(d.up, d.down); }},
    {"ZtPrice/const", [](const Inputs& d) { return ZtPrice(d.walk, 0.1); }},
    {"ZtPrice/perbar", [](const Inputs& d) { return ZtPrice(d.walk, d.factors); }},
    {"DtPrice/const", [](const Inputs& d) { return DtPrice(d.walk, 0.1); }},
};

void RunCase(benchmark::State& state, const Case& c) {
  const Inputs& data = Data();
  for (auto _ : state) benchmark::DoNotOptimize(c.run(data));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars) * 1e-9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const bool kRegistered = [] {
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string("References/") + c.name).c_str(),
                                 [&c](benchmark::State& state) { RunCase(state, c); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
