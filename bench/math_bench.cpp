// Math functions on 1,000,000 bars of a deterministic random walk; reports
// bars per second and ns per bar for each function and variant.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "strategy/math/abs_strategy.h"
#include "strategy/math/frac_part_strategy.h"
#include "strategy/math/ln_strategy.h"
#include "strategy/math/max_strategy.h"
#include "strategy/math/min_strategy.h"
#include "strategy/math/mod_strategy.h"
#include "strategy/math/pow_strategy.h"
#include "strategy/math/rand_strategy.h"
#include "strategy/math/round2_strategy.h"
#include "strategy/math/round_strategy.h"
#include "strategy/math/sin_strategy.h"
#include "strategy/math/sqrt_strategy.h"

namespace {

constexpr size_t kBars = 1000000;

DataExt RandomWalk(unsigned seed, double start, double step) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> move(0.0, step);
  std::vector<double> values(kBars);
  double level = start;
  for (double& v : values) {
    level += move(rng);
    v = level;
  }
  return DataExt(std::move(values));
}

const DataExt& Prices() {
  static const DataExt prices = RandomWalk(1, 1000.0, 5.0);
  return prices;
}
const DataExt& OtherPrices() {
  static const DataExt prices = RandomWalk(2, 1000.0, 5.0);
  return prices;
}
// A per-bar parameter: small whole numbers from 1 to 8.
const DataExt& Digits() {
  static const DataExt digits = [] {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(1, 8);
    std::vector<double> v(kBars);
    for (double& d : v) d = pick(rng);
    return DataExt(std::move(v));
  }();
  return digits;
}

void ReportPerBar(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars) * 1e-9,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Unary(benchmark::State& state, DataExt (*function)(const DataExt&)) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(function(Prices()));
  ReportPerBar(state);
}
BENCHMARK_CAPTURE(BM_Unary, Abs, Abs)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unary, Sqrt, Sqrt)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unary, Ln, Ln)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unary, Sin, Sin)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unary, Round, Round)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Unary, FracPart, FracPart)->Unit(benchmark::kMillisecond);

void BM_Binary(benchmark::State& state, DataExt (*function)(const DataExt&, const DataExt&)) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(function(Prices(), OtherPrices()));
  ReportPerBar(state);
}
BENCHMARK_CAPTURE(BM_Binary, Max, Max)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Binary, Min, Min)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Binary, Pow, Pow)->Unit(benchmark::kMillisecond);

void BM_ModSeries(benchmark::State& state) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(Mod(Prices(), Digits()));
  ReportPerBar(state);
}
BENCHMARK(BM_ModSeries)->Unit(benchmark::kMillisecond);

void BM_ModNumber(benchmark::State& state) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(Mod(Prices(), 7.0));
  ReportPerBar(state);
}
BENCHMARK(BM_ModNumber)->Unit(benchmark::kMillisecond);

void BM_Round2Count(benchmark::State& state) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(Round2(Prices(), 2ul));
  ReportPerBar(state);
}
BENCHMARK(BM_Round2Count)->Unit(benchmark::kMillisecond);

void BM_Round2Series(benchmark::State& state) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(Round2(Prices(), Digits()));
  ReportPerBar(state);
}
BENCHMARK(BM_Round2Series)->Unit(benchmark::kMillisecond);

void BM_RandSeries(benchmark::State& state) {
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(Rand(Digits()));
  ReportPerBar(state);
}
BENCHMARK(BM_RandSeries)->Unit(benchmark::kMillisecond);

void BM_RandNumber(benchmark::State& state) {
  Environment env;
  env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(kBars));
  benchmark::DoNotOptimize(Prices().m_raw_data.size() + OtherPrices().m_raw_data.size() +
                           Digits().m_raw_data.size());  // inputs built untimed
  for (auto _ : state) benchmark::DoNotOptimize(Rand(DataExt(6.0), env));
  ReportPerBar(state);
}
BENCHMARK(BM_RandNumber)->Unit(benchmark::kMillisecond);

}  // namespace
