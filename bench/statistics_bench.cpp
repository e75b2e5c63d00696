// Statistics functions over 1,000,000 bars of a random walk, with a constant
// 20-bar window and with a per-bar period series of 20.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "strategy/statistics/ave_dev_strategy.h"
#include "strategy/statistics/covar_strategy.h"
#include "strategy/statistics/dev_sq_strategy.h"
#include "strategy/statistics/forcast_strategy.h"
#include "strategy/statistics/relate_strategy.h"
#include "strategy/statistics/slope_strategy.h"
#include "strategy/statistics/std_strategy.h"
#include "strategy/statistics/stdp_strategy.h"
#include "strategy/statistics/var_strategy.h"
#include "strategy/statistics/varp_strategy.h"

namespace {

constexpr size_t kBars = 1000000;
constexpr unsigned long kWindow = 20;

DataExt RandomWalk(unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> step(0.0, 1.0);
  std::vector<double> x(kBars);
  double level = 1000.0;
  for (double& v : x) v = level += step(rng);
  return DataExt(std::move(x));
}

const DataExt& SeriesA() {
  static const DataExt a = RandomWalk(1);
  return a;
}
const DataExt& SeriesB() {
  static const DataExt b = RandomWalk(2);
  return b;
}
const DataExt& Periods() {
  static const DataExt n(std::vector<double>(kBars, static_cast<double>(kWindow)));
  return n;
}

// Builds the inputs outside the timed loop.
void Prepare() {
  SeriesA();
  SeriesB();
  Periods();
}

void PerBar(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <DataExt (*Fn)(const DataExt&, unsigned long)>
void BM_Constant(benchmark::State& state) {
  Prepare();
  for (auto _ : state) benchmark::DoNotOptimize(Fn(SeriesA(), kWindow));
  PerBar(state);
}

template <DataExt (*Fn)(const DataExt&, const DataExt&)>
void BM_PerBar(benchmark::State& state) {
  Prepare();
  for (auto _ : state) benchmark::DoNotOptimize(Fn(SeriesA(), Periods()));
  PerBar(state);
}

template <DataExt (*Fn)(const DataExt&, const DataExt&, unsigned long)>
void BM_PairConstant(benchmark::State& state) {
  Prepare();
  for (auto _ : state) benchmark::DoNotOptimize(Fn(SeriesA(), SeriesB(), kWindow));
  PerBar(state);
}

template <DataExt (*Fn)(const DataExt&, const DataExt&, const DataExt&)>
void BM_PairPerBar(benchmark::State& state) {
  Prepare();
  for (auto _ : state) benchmark::DoNotOptimize(Fn(SeriesA(), SeriesB(), Periods()));
  PerBar(state);
}

}  // namespace

#define STATISTICS_BENCH(Fn)                                        \
  BENCHMARK_TEMPLATE(BM_Constant, Fn)->Unit(benchmark::kMillisecond); \
  BENCHMARK_TEMPLATE(BM_PerBar, Fn)->Unit(benchmark::kMillisecond)

STATISTICS_BENCH(Std);
STATISTICS_BENCH(Stdp);
STATISTICS_BENCH(Var);
STATISTICS_BENCH(Varp);
STATISTICS_BENCH(DevSq);
STATISTICS_BENCH(AveDev);
STATISTICS_BENCH(Slope);
STATISTICS_BENCH(Forcast);
BENCHMARK_TEMPLATE(BM_PairConstant, Covar)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PairPerBar, Covar)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PairConstant, Relate)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PairPerBar, Relate)->Unit(benchmark::kMillisecond);
