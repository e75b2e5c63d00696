// Benchmarks of the compile-and-run path: compiling a short formula,
// running it over synthetic bars, and writing the output JSON.

#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
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
  const size_t rows = static_cast<size_t>(state.range(0));
  compiler.Bars().Assign(bench::RandomBarRows(1, rows));
  compiler.Period(1440);
  bench::RunPerBar(state, [&compiler] { return compiler.Run(); }, rows);
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
