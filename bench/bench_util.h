#pragma once

// Inputs and reporting shared by the benchmark programs. Every function runs
// over kBars bars of deterministic random data (fixed seeds, so runs compare)
// and reports the time per bar as a plain counter in nanoseconds.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "compiler/bar_data.h"
#include "compiler/data_ext.h"

namespace bench {

constexpr size_t kBars = 1000000;

// A random walk from 1000 with normally distributed steps.
inline std::vector<double> RandomWalk(uint64_t seed, double step = 1.0) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> move(0.0, step);
  std::vector<double> x(kBars);
  double level = 1000.0;
  for (double& v : x) v = level += move(rng);
  return x;
}

// kBars copies of one value: a per-bar parameter that never changes.
inline DataExt Repeated(double value) { return DataExt(std::vector<double>(kBars, value)); }

// Daily bars of a random walk: the open is the previous close, high and low
// reach a little beyond both, every bar has a time.
inline std::vector<BarRow> RandomBarRows(uint64_t seed, size_t count = kBars) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> move(0.0, 1.0);
  std::uniform_real_distribution<double> wick(0.0, 2.0);
  std::vector<BarRow> rows(count);
  double close = 1000.0;
  for (size_t i = 0; i < count; ++i) {
    BarRow& row = rows[i];
    row.open = close;
    close += move(rng);
    row.close = close;
    row.high = std::max(row.open, row.close) + wick(rng);
    row.low = std::min(row.open, row.close) - wick(rng);
    row.vol = 1000.0 + 1000.0 * wick(rng);
    row.time = 946857600000.0 + 86400000.0 * static_cast<double>(i);
  }
  return rows;
}

// Times run() over `bars` bars per call. One untimed call first builds the
// lazily made inputs; the counter ns_per_bar is wall time per bar.
template <typename Run>
void RunPerBar(benchmark::State& state, Run run, size_t bars = kBars) {
  benchmark::DoNotOptimize(run());
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) benchmark::DoNotOptimize(run());
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  const double processed = static_cast<double>(state.iterations()) * static_cast<double>(bars);
  state.SetItemsProcessed(static_cast<int64_t>(processed));
  state.counters["ns_per_bar"] = processed > 0 ? elapsed.count() / processed : 0.0;
}

// One benchmark per case, named "group/name", timed in milliseconds.
struct Case {
  std::string name;
  std::function<DataExt()> run;
};

inline bool Register(const std::string& group, const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const std::function<DataExt()> run = c.run;
    benchmark::RegisterBenchmark((group + ("/" + c.name)).c_str(),
                                 [run](benchmark::State& state) { RunPerBar(state, run); })
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}

}  // namespace bench
