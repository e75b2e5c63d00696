#include "strategy/statistics/var_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

using namespace window_stats;

namespace {

double SampleVariance(const Spread& s, double count) {
  return count == 1.0 ? kInvalidValue : s.sum_sq / (count - 1.0);
}

}  // namespace

DataExt Var(const DataExt& x, unsigned long n) {
  const std::vector<double>& values = x.getRawData();
  if (n <= 1) return DataExt(std::vector<double>(values.size(), kInvalidValue));
  return DataExt(ConstantSpreadSeries<Gaps::kMasked, false>(values, n, SampleVariance));
}

DataExt Var(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kMasked, false>(x.getRawData(), n.getRawData(),
                                                          kInvalidValue, SampleVariance));
}

DataExt VarStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Var));
}
