#include "strategy/reference/zt_price_strategy.h"

#include "strategy/reference/price_limit.h"
#include "strategy/util/args.h"

namespace {

double Limit(double x, double r) { return x * r + x; }

}  // namespace

DataExt ZtPrice(const DataExt& x, double r) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(PriceLimit(xs, xs.size(), [r](size_t) { return r; }, Limit));
}

DataExt ZtPrice(const DataExt& x, const DataExt& r) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& rs = r.getRawData();
  return DataExt(PriceLimit(xs, MinLength(xs, rs), [&rs](size_t i) { return rs[i]; }, Limit));
}

DataExt ZtPriceStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(ZtPrice));
}
