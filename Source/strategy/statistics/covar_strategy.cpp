#include "strategy/statistics/covar_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double Covariance(const CoDeviations& s, double count) { return s.sum_ab / count; }

}  // namespace

DataExt Covar(const DataExt& a, const DataExt& b, unsigned long n) {
  return DataExt(ConstantCoSeries<false>(a.getRawData(), b.getRawData(), n, Covariance));
}

DataExt Covar(const DataExt& a, const DataExt& b, const DataExt& n) {
  return DataExt(PerBarCoSeries<false>(a.getRawData(), b.getRawData(), n.getRawData(), Covariance));
}

DataExt CovarStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Covar));
}
