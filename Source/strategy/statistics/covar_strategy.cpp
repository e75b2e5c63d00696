#include "strategy/statistics/covar_strategy.h"

#include "strategy/statistics/window_stats.h"

using namespace window_stats;

namespace {

double Covariance(const CoSpread& s, double count) { return s.sum_ab / count; }

}  // namespace

DataExt Covar(const DataExt& a, const DataExt& b, unsigned long n) {
  return DataExt(ConstantCoSeries<false>(a.getRawData(), b.getRawData(), n, Covariance));
}

DataExt Covar(const DataExt& a, const DataExt& b, const DataExt& n) {
  return DataExt(PerBarCoSeries<false>(a.getRawData(), b.getRawData(), n.getRawData(), Covariance));
}

DataExt CovarStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 3) return DataExt();
  return CallWithCount(args[2], [&args](const auto& n) { return Covar(args[0], args[1], n); });
}
