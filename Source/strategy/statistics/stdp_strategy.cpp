#include "strategy/statistics/stdp_strategy.h"

#include <cmath>

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

using namespace window_stats;

namespace {

double PopulationDeviation(const Spread& s, double count) { return std::sqrt(s.sum_sq / count); }

}  // namespace

DataExt Stdp(const DataExt& x, unsigned long n) {
  const std::vector<double>& values = x.getRawData();
  if (n <= 1) return DataExt(std::vector<double>(values.size(), kInvalidValue));
  return DataExt(ConstantSpreadSeries<Gaps::kStored, false>(values, n, PopulationDeviation));
}

DataExt Stdp(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kStored, false>(x.getRawData(), n.getRawData(),
                                                          kInvalidValue, PopulationDeviation));
}

DataExt StdpStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Stdp));
}
