// Time functions over 1,000,000 one-minute bars, broken down in UTC.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "strategy/time/bar_pos_strategy.h"
#include "strategy/time/date_strategy.h"
#include "strategy/time/hour_strategy.h"
#include "strategy/time/time_strategy.h"
#include "strategy/time/weekday_strategy.h"
#include "strategy/time/year_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

const BarData& MinuteBars() {
  static const BarData bars = [] {
    setenv("TZ", "UTC", 1);
    tzset();
    std::vector<BarRow> rows(kBars);
    for (size_t i = 0; i < kBars; ++i) {
      rows[i].time = 1577836800000.0 + 60000.0 * static_cast<double>(i);
      rows[i].has_time = true;
    }
    return BarData(rows);
  }();
  return bars;
}

void PerBar(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <DataExt (*Fn)(const BarData&)>
void BM_Calendar(benchmark::State& state) {
  MinuteBars();  // built outside the timed loop
  for (auto _ : state) benchmark::DoNotOptimize(Fn(MinuteBars()));
  PerBar(state);
}

}  // namespace

BENCHMARK_TEMPLATE(BM_Calendar, Date)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Calendar, Time)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Calendar, Year)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Calendar, Weekday)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Calendar, Hour)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Calendar, BarPos)->Unit(benchmark::kMillisecond);
