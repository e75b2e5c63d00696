// Counting and bars-since functions over 1,000,000 bars of a deterministic
// random walk, constant and per-bar periods.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "strategy/reference/bars_count_strategy.h"
#include "strategy/reference/bars_last_strategy.h"
#include "strategy/reference/bars_next_strategy.h"
#include "strategy/reference/bars_since_n_strategy.h"
#include "strategy/reference/bars_since_strategy.h"
#include "strategy/reference/count_strategy.h"
#include "strategy/reference/curr_bars_count_strategy.h"
#include "strategy/reference/total_bars_count_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

struct Inputs {
  DataExt up;       // 1 where the random walk rose, else 0
  DataExt rare;     // 1 on about one bar in 200
  DataExt periods;  // per-bar periods, 1 to 50
};

const Inputs& Data() {
  static const Inputs inputs = [] {
    std::mt19937_64 rng(7);
    std::normal_distribution<double> step(0.0, 1.0);
    std::uniform_int_distribution<int> period(1, 50), one_in(0, 199);
    std::vector<double> up, rare, periods;
    for (size_t i = 0; i < kBars; ++i) {
      up.push_back(step(rng) > 0.0 ? 1.0 : 0.0);
      rare.push_back(one_in(rng) == 0 ? 1.0 : 0.0);
      periods.push_back(period(rng));
    }
    return Inputs{DataExt(up), DataExt(rare), DataExt(periods)};
  }();
  return inputs;
}

struct Case {
  const char* name;
  DataExt (*run)(const Inputs&);
};

const Case kCases[] = {
    {"Count/const20", [](const Inputs& d) { return Count(d.up, 20); }},
    {"Count/all", [](const Inputs& d) { return Count(d.up, 0); }},
    {"Count2/perbar", [](const Inputs& d) { return Count2(d.up, d.periods); }},
    {"BarsSinceN/const20", [](const Inputs& d) { return BarsSinceN(d.rare, 20); }},
    {"BarsSinceN/perbar", [](const Inputs& d) { return BarsSinceN(d.rare, d.periods); }},
    {"BarsCount", [](const Inputs& d) { return BarsCount(d.up); }},
    {"BarsLast", [](const Inputs& d) { return BarsLast(d.rare); }},
    {"BarsNext", [](const Inputs& d) { return BarsNext(d.rare); }},
    {"BarsSince", [](const Inputs& d) { return BarsSince(d.rare); }},
    {"CurrBarsCount", [](const Inputs& d) { return CurrBarsCount(d.up); }},
    {"TotalBarsCount", [](const Inputs& d) { return TotalBarsCount(d.up); }},
};

void Run(benchmark::State& state, const Case& c) {
  const Inputs& inputs = Data();
  for (auto _ : state) {
    DataExt out = c.run(inputs);
    benchmark::DoNotOptimize(out.getRawData().data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars) * 1e-9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const bool kRegistered = [] {
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string("Counting/") + c.name).c_str(),
                                 [&c](benchmark::State& state) { Run(state, c); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
