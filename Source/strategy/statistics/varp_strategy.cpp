#include "strategy/statistics/varp_strategy.h"

#include "strategy/statistics/window_stats.h"

using namespace window_stats;

namespace {

double PopulationVariance(const Spread& s, double count) { return s.sum_sq / count; }

}  // namespace

DataExt Varp(const DataExt& x, unsigned long n) {
  const std::vector<double>& values = x.getRawData();
  if (n <= 1) return DataExt(std::vector<double>(values.size(), kInvalidValue));
  return DataExt(ConstantSpreadSeries<Gaps::kMasked, false>(values, n, PopulationVariance));
}

DataExt Varp(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarSpreadSeries<Gaps::kMasked, false>(x.getRawData(), n.getRawData(),
                                                          kInvalidValue, PopulationVariance));
}

DataExt VarpStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2) return DataExt();
  return CallWithCount(args[1], [&args](const auto& n) { return Varp(args[0], n); });
}
