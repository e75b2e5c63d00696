#include "strategy/statistics/ave_dev_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double MeanAbsoluteDeviation(const Deviations& s, double count) { return s.sum_abs / count; }

}  // namespace

DataExt AveDev(const DataExt& x, unsigned long n) {
  return DataExt(
      ConstantSpreadSeries<Gaps::kMasked, true>(x.getRawData(), n, MeanAbsoluteDeviation));
}

DataExt AveDev(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kMasked, true>(x.getRawData(), n.getRawData(),
                                                         kInvalidValue, MeanAbsoluteDeviation));
}

DataExt AveDevStrategy::Exec(std::vector<DataExt> args, Environment& env,
                             std::shared_ptr<AstNode>) {
  return CallWithPeriod(Args(args, env), FORMULA_OVERLOADS(AveDev));
}

bool AveDevStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                            NodeState& state) const {
  return ResumeConstantSpread<Gaps::kMasked, true>(args, from, state, 0, MeanAbsoluteDeviation);
}

size_t AveDevStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
