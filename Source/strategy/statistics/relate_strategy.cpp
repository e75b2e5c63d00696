#include "strategy/statistics/relate_strategy.h"

#include <cmath>

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double Correlation(const CoDeviations& s, double count) {
  return (s.sum_ab / count) / (std::sqrt(s.sum_bb / count) * std::sqrt(s.sum_aa / count));
}

double SampleCorrelation(const CoDeviations& s, double count) {
  const double divisor = count - 1.0;
  const double spread = std::sqrt(s.sum_bb / divisor) * std::sqrt(s.sum_aa / divisor);
  return spread == 0.0 ? kInvalidValue : (s.sum_ab / divisor) / spread;
}

}  // namespace

DataExt Relate(const DataExt& a, const DataExt& b, unsigned long n) {
  return DataExt(ConstantCoSeries<true>(a.getRawData(), b.getRawData(), n, Correlation));
}

DataExt Relate(const DataExt& a, const DataExt& b, const DataExt& n) {
  return DataExt(
      PerBarCoSeries<true>(a.getRawData(), b.getRawData(), n.getRawData(), SampleCorrelation));
}

DataExt RelateStrategy::Exec(std::vector<DataExt> args, Environment& env,
                             std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Relate));
}
