#include "strategy/statistics/dev_sq_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double SquaredDeviations(const Deviations& s, double) { return s.sum_sq; }

}  // namespace

DataExt DevSq(const DataExt& x, unsigned long n) {
  return DataExt(ConstantSpreadSeries<Gaps::kMasked, false>(x.getRawData(), n, SquaredDeviations));
}

DataExt DevSq(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kMasked, false>(x.getRawData(), n.getRawData(), 0.0,
                                                          SquaredDeviations));
}

DataExt DevSqStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return CallWithPeriod(Args(args, env), FORMULA_OVERLOADS(DevSq));
}

bool DevSqStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                           NodeState& state) const {
  return ResumeConstantSpread<Gaps::kMasked, false>(args, from, state, 0, SquaredDeviations);
}

size_t DevSqStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
