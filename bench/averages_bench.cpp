// Moving averages over 1,000,000 bars of a deterministic random walk, with a
// constant period and with a per-bar period series.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "strategy/reference/dma_strategy.h"
#include "strategy/reference/ema_strategy.h"
#include "strategy/reference/ma_strategy.h"
#include "strategy/reference/mema_strategy.h"
#include "strategy/reference/sma_strategy.h"
#include "strategy/reference/wma_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

const DataExt& Walk() {
  static const DataExt walk = [] {
    std::mt19937 rng(42);
    std::normal_distribution<double> step(0.0, 1.0);
    std::vector<double> x;
    x.reserve(kBars);
    double level = 1000.0;
    for (size_t i = 0; i < kBars; ++i) x.push_back(level += step(rng));
    return DataExt(std::move(x));
  }();
  return walk;
}

DataExt Repeated(double value) { return DataExt(std::vector<double>(kBars, value)); }

void Report(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars) * 1e-9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <typename Fn>
void Run(benchmark::State& state, Fn fn) {
  Walk();  // build the input outside the timed loop
  for (auto _ : state) benchmark::DoNotOptimize(fn());
  Report(state);
}

void BM_MaConstant(benchmark::State& s) { Run(s, [] { return Ma(Walk(), 20); }); }
void BM_MaPerBar(benchmark::State& s) {
  const DataExt n = Repeated(20);
  Run(s, [&] { return Ma(Walk(), n); });
}
void BM_MaPerBarCumulative(benchmark::State& s) {
  const DataExt n = Repeated(1e12);
  Run(s, [&] { return Ma(Walk(), n); });
}
void BM_Ema(benchmark::State& s) {
  const DataExt n = Repeated(12);
  Run(s, [&] { return Ema(Walk(), n); });
}
void BM_Sma(benchmark::State& s) {
  const DataExt n = Repeated(12), m = Repeated(1);
  Run(s, [&] { return Sma(Walk(), n, m); });
}
void BM_WmaConstant(benchmark::State& s) { Run(s, [] { return Wma(Walk(), 20); }); }
void BM_WmaPerBar(benchmark::State& s) {
  const DataExt n = Repeated(20);
  Run(s, [&] { return Wma(Walk(), n); });
}
void BM_MemaConstant(benchmark::State& s) { Run(s, [] { return Mema(Walk(), 20); }); }
void BM_MemaPerBar(benchmark::State& s) {
  const DataExt n = Repeated(20);
  Run(s, [&] { return Mema(Walk(), n); });
}
void BM_DmaConstant(benchmark::State& s) { Run(s, [] { return Dma(Walk(), 0.1); }); }
void BM_DmaPerBar(benchmark::State& s) {
  const DataExt a = Repeated(0.1);
  Run(s, [&] { return Dma(Walk(), a); });
}

}  // namespace

BENCHMARK(BM_MaConstant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaPerBar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaPerBarCumulative)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ema)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sma)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WmaConstant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WmaPerBar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemaConstant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemaPerBar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DmaConstant)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DmaPerBar)->Unit(benchmark::kMillisecond);
