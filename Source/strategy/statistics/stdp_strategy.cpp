#include "strategy/statistics/stdp_strategy.h"

#include <cmath>

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double PopulationDeviation(const Deviations& s, double count) {
  return std::sqrt(s.sum_sq / count);
}

}  // namespace

DataExt Stdp(const DataExt& x, unsigned long n) {
  return DataExt(ConstantSpreadOfTwoOrMore<Gaps::kStored>(x.getRawData(), n, PopulationDeviation));
}

DataExt Stdp(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kStored, false>(x.getRawData(), n.getRawData(),
                                                          kInvalidValue, PopulationDeviation));
}

DataExt StdpStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Stdp));
}

bool StdpStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                          NodeState& state) const {
  return ResumeConstantSpread<Gaps::kStored, false>(args, from, state, 2, PopulationDeviation);
}

size_t StdpStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
