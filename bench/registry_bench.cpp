// One benchmark per built-in function and argument variant, listed from the
// function registry: each calls the function's Exec through the factory over
// kBars bars, as the evaluator does. "const": the first argument a random
// walk, the others the number 20 (texts where a text is expected give the
// function's rejection path, which costs nothing). "perbar": every further
// argument a series of 20s, the per-bar parameter variant.

#include <memory>
#include <string>
#include <vector>

#include "bench_util.h"
#include "compiler/function_registry.h"
#include "strategy/util/strategy_factory.h"

namespace {

Environment& Env() {
  static const BarData bars(bench::RandomBarRows(7));
  static Environment env = [] {
    Environment e(bars);
    e.m_period = 1440;
    return e;
  }();
  return env;
}

std::vector<DataExt> Arguments(int count, bool per_bar) {
  static const DataExt walk(bench::RandomWalk(42));
  static const DataExt twenties = bench::Repeated(20);
  std::vector<DataExt> args;
  for (int k = 0; k < count; ++k) {
    args.push_back(k == 0 ? walk : per_bar ? twenties : DataExt(20.0));
  }
  return args;
}

const bool kRegistered = [] {
  for (const FunctionInfo& f : FunctionRegistry()) {
    const std::string name = f.names[0];
    for (bool per_bar : {false, true}) {
      if (per_bar && f.min_args < 2) continue;
      const std::vector<DataExt> args = Arguments(f.min_args, per_bar);
      bench::Register(name, {{per_bar ? "perbar" : "const", [name, args] {
                                return StrategyFactory::StrategyByName(name)->Exec(args, Env(),
                                                                                   nullptr);
                              }}});
    }
  }
  return true;
}();

}  // namespace
