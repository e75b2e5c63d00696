#include "strategy/statistics/std_strategy.h"

#include <cmath>

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double SampleDeviation(const Deviations& s, double count) {
  return count == 1.0 ? kInvalidValue : std::sqrt(s.sum_sq / (count - 1.0));
}

}  // namespace

DataExt Std(const DataExt& x, unsigned long n) {
  return DataExt(ConstantSpreadOfTwoOrMore<Gaps::kStored>(x.getRawData(), n, SampleDeviation));
}

DataExt Std(const DataExt& x, const DataExt& n) {
  // An empty window leaves every sum at 0.0, so its deviation is 0.0.
  return DataExt(PerBarSpreadSeries<Gaps::kStored, false>(x.getRawData(), n.getRawData(), 0.0,
                                                          SampleDeviation));
}

DataExt StdStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Std));
}

bool StdStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  return ResumeConstantSpread<Gaps::kStored, false>(args, from, state, 2, SampleDeviation);
}

size_t StdStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
