#include "strategy/reference/dt_price_strategy.h"

#include "strategy/reference/price_limit.h"
#include "strategy/util/args.h"

namespace {

double Limit(double x, double r) { return x - x * r; }

}  // namespace

DataExt DtPrice(const DataExt& x, double r) { return PriceLimit(x, r, Limit); }

DataExt DtPrice(const DataExt& x, const DataExt& r) { return PriceLimit(x, r, Limit); }

DataExt DtPriceStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(DtPrice));
}
