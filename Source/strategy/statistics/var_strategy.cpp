#include "strategy/statistics/var_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double SampleVariance(const Deviations& s, double count) {
  return count == 1.0 ? kInvalidValue : s.sum_sq / (count - 1.0);
}

}  // namespace

DataExt Var(const DataExt& x, unsigned long n) {
  return DataExt(ConstantSpreadOfTwoOrMore<Gaps::kMasked>(x.getRawData(), n, SampleVariance));
}

DataExt Var(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kMasked, false>(x.getRawData(), n.getRawData(),
                                                          kInvalidValue, SampleVariance));
}

DataExt VarStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Var));
}

bool VarStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  return ResumeConstantSpread<Gaps::kMasked, false>(args, from, state, 2, SampleVariance);
}

size_t VarStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
