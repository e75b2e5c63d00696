// Window extremes, ranks, ranges and the FIND searches over 1,000,000 bars of
// a deterministic random walk, constant and per-bar periods.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "strategy/reference/find_high_bars_strategy.h"
#include "strategy/reference/find_high_strategy.h"
#include "strategy/reference/find_low_strategy.h"
#include "strategy/reference/hhv_bars_strategy.h"
#include "strategy/reference/hhv_strategy.h"
#include "strategy/reference/hod_strategy.h"
#include "strategy/reference/llv_bars_strategy.h"
#include "strategy/reference/llv_strategy.h"
#include "strategy/reference/lod_strategy.h"
#include "strategy/reference/low_range_strategy.h"
#include "strategy/reference/top_range_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

struct Inputs {
  DataExt x;        // random walk
  DataExt periods;  // per-bar periods, 1 to 50
  DataExt offsets;  // FIND: N per bar, 0 to 5
  DataExt spans;    // FIND: M per bar, 10 to 30
  DataExt ranks;    // FIND: T per bar, 1 to 3
};

const Inputs& Data() {
  static const Inputs inputs = [] {
    std::mt19937_64 rng(42);
    std::normal_distribution<double> step(0.0, 1.0);
    std::uniform_int_distribution<int> period(1, 50), offset(0, 5), span(10, 30), rank(1, 3);
    std::vector<double> x, periods, offsets, spans, ranks;
    double level = 1000.0;
    for (size_t i = 0; i < kBars; ++i) {
      level += step(rng);
      x.push_back(level);
      periods.push_back(period(rng));
      offsets.push_back(offset(rng));
      spans.push_back(span(rng));
      ranks.push_back(rank(rng));
    }
    return Inputs{DataExt(x), DataExt(periods), DataExt(offsets), DataExt(spans), DataExt(ranks)};
  }();
  return inputs;
}

struct Case {
  const char* name;
  DataExt (*run)(const Inputs&);
};

const Case kCases[] = {
    {"Hhv/const20", [](const Inputs& d) { return Hhv(d.x, 20.0); }},
    {"Hhv/const250", [](const Inputs& d) { return Hhv(d.x, 250.0); }},
    {"Hhv/all", [](const Inputs& d) { return Hhv(d.x); }},
    {"Hhv/perbar", [](const Inputs& d) { return Hhv(d.x, d.periods); }},
    {"Llv/const20", [](const Inputs& d) { return Llv(d.x, 20); }},
    {"Llv/perbar", [](const Inputs& d) { return Llv(d.x, d.periods); }},
    {"HhvBars/const20", [](const Inputs& d) { return HhvBars(d.x, 20); }},
    {"HhvBars/perbar", [](const Inputs& d) { return HhvBars(d.x, d.periods); }},
    {"LlvBars/const20", [](const Inputs& d) { return LlvBars(d.x, 20); }},
    {"LlvBars/perbar", [](const Inputs& d) { return LlvBars(d.x, d.periods); }},
    {"Hod/const20", [](const Inputs& d) { return Hod(d.x, 20); }},
    {"Hod/const250", [](const Inputs& d) { return Hod(d.x, 250); }},
    {"Hod/const2000", [](const Inputs& d) { return Hod(d.x, 2000); }},
    {"Hod/perbar", [](const Inputs& d) { return Hod(d.x, d.periods); }},
    {"Lod/const20", [](const Inputs& d) { return Lod(d.x, 20); }},
    {"TopRange", [](const Inputs& d) { return TopRange(d.x); }},
    {"LowRange", [](const Inputs& d) { return LowRange(d.x); }},
    {"FindHigh/const", [](const Inputs& d) { return FindHigh(d.x, 2, 20, 3); }},
    {"FindHigh/perbar",
     [](const Inputs& d) { return FindHigh(d.x, d.offsets, d.spans, d.ranks); }},
    {"FindLow/const", [](const Inputs& d) { return FindLow(d.x, 2, 20, 3); }},
    {"FindHighBars/const", [](const Inputs& d) { return FindHighBars(d.x, 2, 20, 3); }},
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
    benchmark::RegisterBenchmark((std::string("Extrema/") + c.name).c_str(),
                                 [&c](benchmark::State& state) { Run(state, c); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
