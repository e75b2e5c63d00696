// Logic functions on 1,000,000 bars of a deterministic random walk; reports
// bars per second and ns per bar for each function and variant.

#include <benchmark/benchmark.h>

#include <random>

#include "strategy/logic/between_strategy.h"
#include "strategy/logic/cross_strategy.h"
#include "strategy/logic/down_nday_strategy.h"
#include "strategy/logic/every_strategy.h"
#include "strategy/logic/exist_strategy.h"
#include "strategy/logic/if_strategy.h"
#include "strategy/logic/ifn_strategy.h"
#include "strategy/logic/last_strategy.h"
#include "strategy/logic/long_cross_strategy.h"
#include "strategy/logic/nday_strategy.h"
#include "strategy/logic/not_strategy.h"
#include "strategy/logic/range_strategy.h"
#include "strategy/logic/up_nday_strategy.h"
#include "strategy/logic/value_when_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

DataExt RandomWalk(unsigned seed) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> move(0.0, 5.0);
  std::vector<double> values(kBars);
  double level = 1000.0;
  for (double& v : values) {
    level += move(rng);
    v = level;
  }
  return DataExt(std::move(values));
}

const DataExt& A() {
  static const DataExt a = RandomWalk(11);
  return a;
}
const DataExt& B() {
  static const DataExt b = RandomWalk(12);
  return b;
}
const DataExt& Upper() {
  static const DataExt upper = [] {
    std::vector<double> v = A().m_raw_data;
    for (double& x : v) x += 10.0;
    return DataExt(std::move(v));
  }();
  return upper;
}
// 1 where the walk rose, else 0.
const DataExt& Rising() {
  static const DataExt rising = [] {
    const std::vector<double>& a = A().m_raw_data;
    std::vector<double> v(a.size(), 0.0);
    for (size_t i = 1; i < a.size(); ++i) v[i] = a[i] > a[i - 1] ? 1.0 : 0.0;
    return DataExt(std::move(v));
  }();
  return rising;
}
// Per-bar periods from 1 to 20.
const DataExt& Periods() {
  static const DataExt periods = [] {
    std::mt19937 rng(13);
    std::uniform_int_distribution<int> pick(1, 20);
    std::vector<double> v(kBars);
    for (double& p : v) p = pick(rng);
    return DataExt(std::move(v));
  }();
  return periods;
}

void ReportPerBar(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars) * 1e-9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

#define LOGIC_BENCH(name, expression)                                      \
  void BM_##name(benchmark::State& state) {                                \
    benchmark::DoNotOptimize(expression); /* builds the inputs, untimed */ \
    for (auto _ : state) benchmark::DoNotOptimize(expression);             \
    ReportPerBar(state);                                                   \
  }                                                                        \
  BENCHMARK(BM_##name)->Unit(benchmark::kMillisecond)

LOGIC_BENCH(Cross, Cross(A(), B()));
LOGIC_BENCH(LongCrossCount, LongCross(A(), B(), 10ul));
LOGIC_BENCH(LongCrossSeries, LongCross(A(), B(), Periods()));
LOGIC_BENCH(BetweenNumbers, Between(A(), 990.0, 1010.0));
LOGIC_BENCH(BetweenSeries, Between(B(), A(), Upper()));
LOGIC_BENCH(RangeNumbers, Range(A(), 990.0, 1010.0));
LOGIC_BENCH(RangeSeries, Range(B(), A(), Upper()));
LOGIC_BENCH(EveryCount, Every(Rising(), 20ul));
LOGIC_BENCH(EverySeries, Every(Rising(), Periods()));
LOGIC_BENCH(ExistCount, Exist(Rising(), 20ul));
LOGIC_BENCH(ExistSeries, Exist(Rising(), Periods()));
LOGIC_BENCH(Not, Not(Rising()));
LOGIC_BENCH(IfSeries, If(Rising(), A(), B()));
LOGIC_BENCH(IfNumbers, If(Rising(), 1.0, 2.0));
LOGIC_BENCH(IfnSeries, Ifn(Rising(), A(), B()));
LOGIC_BENCH(Last, Last(Rising()));
LOGIC_BENCH(UpNDayNumber, UpNDay(A(), 3.0));
LOGIC_BENCH(UpNDaySeries, UpNDay(A(), Periods()));
LOGIC_BENCH(DownNDayNumber, DownNDay(A(), 3.0));
LOGIC_BENCH(NDayNumber, NDay(A(), B(), 3.0));
LOGIC_BENCH(NDaySeries, NDay(A(), B(), Periods()));
LOGIC_BENCH(ValueWhen, ValueWhen(Rising(), A()));

}  // namespace
