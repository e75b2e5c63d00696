#include "strategy/reference/sum_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

std::vector<double> CumulativeSum(const std::vector<double>& xs) {
  double s = 0.0;
  return FromFirstValid(xs.size(), FirstValidBar(xs), [&](size_t i) {
    if (IsValid(xs[i])) s = s + xs[i];
    return s;
  });
}

}  // namespace

DataExt Sum(const DataExt& x, unsigned long n) {
  if (n == 0) return DataExt(CumulativeSum(x.getRawData()));
  return DataExt(RollingWindowSum(x.getRawData(), n, [](double s) { return s; }));
}

DataExt Sum(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarWindow<SumOfValid>(x.getRawData(), n.getRawData(), 0.0,
                                          [](const SumOfValid& acc, double) { return acc.sum; }));
}

DataExt SumStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Sum));
}
