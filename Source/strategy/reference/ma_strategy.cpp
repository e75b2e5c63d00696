#include "strategy/reference/ma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Ma(const DataExt& x, unsigned long n) {
  if (n == 0) return DataExt();
  const double divisor = static_cast<double>(n);
  return DataExt(RollingWindowSum(x.getRawData(), n, [divisor](double s) { return s / divisor; }));
}

DataExt Ma(const DataExt& x, const DataExt& n) {
  // Invalid values count in the divisor but add nothing to the sum.
  return DataExt(PerBarWindow<SumOfValid>(
      x.getRawData(), n.getRawData(), kInvalidValue,
      [](const SumOfValid& acc, double count) { return acc.sum / count; }));
}

DataExt MaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Ma));
}
