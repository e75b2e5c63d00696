#include "strategy/reference/zt_price_strategy.h"

#include "strategy/reference/price_limit.h"
#include "strategy/util/args.h"

namespace {

double Limit(double x, double r) { return x * r + x; }

}  // namespace

DataExt ZtPrice(const DataExt& x, double r) { return PriceLimit(x, r, Limit); }

DataExt ZtPrice(const DataExt& x, const DataExt& r) { return PriceLimit(x, r, Limit); }

DataExt ZtPriceStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(ZtPrice));
}
