#include "strategy/statistics/varp_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double PopulationVariance(const Deviations& s, double count) { return s.sum_sq / count; }

}  // namespace

DataExt Varp(const DataExt& x, unsigned long n) {
  return DataExt(ConstantSpreadOfTwoOrMore<Gaps::kMasked>(x.getRawData(), n, PopulationVariance));
}

DataExt Varp(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kMasked, false>(x.getRawData(), n.getRawData(),
                                                          kInvalidValue, PopulationVariance));
}

DataExt VarpStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Varp));
}

bool VarpStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                          NodeState& state) const {
  return ResumeConstantSpread<Gaps::kMasked, false>(args, from, state, 2, PopulationVariance);
}

size_t VarpStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
