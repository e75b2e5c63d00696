// Benchmarks of the compile-and-run path: compiling a short formula,
// running it over synthetic bars, and writing the output JSON.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiler/bar_data.h"
#include "compiler/compiler.h"
#include "compiler/result.h"

namespace {

const char kSixLineFormula[] =
    "MID:(HIGH+LOW)/2;\n"
    "RNG:HIGH-LOW;\n"
    "UP:=CLOSE>OPEN;\n"
    "X:UP*VOL;\n"
    "Y:(CLOSE-OPEN)/(RNG+1);\n"
    "Z:MID*2-LOW;";

// A deterministic random walk: closes drift by up to 1% a bar.
std::shared_ptr<BarData> RandomWalkBars(size_t count) {
  std::vector<BarRow> rows(count);
  uint64_t state = 0x9E3779B97F4A7C15ull;
  auto next_unit = [&state]() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state >> 11) / 9007199254740992.0;  // [0, 1)
  };
  double close = 100.0;
  for (size_t i = 0; i < count; ++i) {
    double open = close;
    close = open * (1.0 + (next_unit() - 0.5) * 0.02);
    BarRow& row = rows[i];
    row.open = open;
    row.close = close;
    row.high = std::max(open, close) * (1.0 + next_unit() * 0.005);
    row.low = std::min(open, close) * (1.0 - next_unit() * 0.005);
    row.vol = 1000.0 + next_unit() * 1000.0;
    row.time = 946857600000.0 + 86400000.0 * static_cast<double>(i);
    row.has_time = true;
  }
  return std::make_shared<BarData>(rows);
}

void BM_CompileSixLines(benchmark::State& state) {
  for (auto _ : state) {
    Compiler compiler(kSixLineFormula);
    benchmark::DoNotOptimize(compiler.Compile());
  }
}
BENCHMARK(BM_CompileSixLines);

void BM_RunSixLines(benchmark::State& state) {
  Compiler compiler(kSixLineFormula);
  compiler.Compile();
  compiler.Data(std::shared_ptr<const BarData>(RandomWalkBars(static_cast<size_t>(state.range(0)))));
  compiler.Period(1440);
  for (auto _ : state) benchmark::DoNotOptimize(compiler.Run());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunSixLines)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_ResultJsonString(benchmark::State& state) {
  std::vector<double> values(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < values.size(); ++i) values[i] = 1000.0 + static_cast<double>(i) * 0.37;
  Result result;
  result.Add(VarModel("X", values, {"COLORRED"}));
  for (auto _ : state) benchmark::DoNotOptimize(result.JsonString());
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ResultJsonString)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
