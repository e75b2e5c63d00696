// SAR and SARTURN over 1,000,000 random-walk bars.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "strategy/index/sar_strategy.h"
#include "strategy/index/sar_turn_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

const BarData& RandomBars() {
  static const BarData bars = [] {
    std::mt19937 rng(3);
    std::normal_distribution<double> step(0.0, 1.0);
    std::uniform_real_distribution<double> wick(0.0, 2.0);
    std::vector<BarRow> rows(kBars);
    double close = 1000.0;
    for (BarRow& row : rows) {
      row.open = close;
      close += step(rng);
      row.close = close;
      row.high = std::max(row.open, row.close) + wick(rng);
      row.low = std::min(row.open, row.close) - wick(rng);
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

void BM_Sar(benchmark::State& state) {
  RandomBars();  // built outside the timed loop
  for (auto _ : state) benchmark::DoNotOptimize(Sar(RandomBars(), 10, 2, 20));
  PerBar(state);
}

void BM_SarTurn(benchmark::State& state) {
  RandomBars();  // built outside the timed loop
  for (auto _ : state) benchmark::DoNotOptimize(SarTurn(RandomBars(), 10, 2, 20));
  PerBar(state);
}

}  // namespace

BENCHMARK(BM_Sar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SarTurn)->Unit(benchmark::kMillisecond);
