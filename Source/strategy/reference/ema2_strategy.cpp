#include "strategy/reference/ema2_strategy.h"

#include "strategy/reference/wma_strategy.h"
#include "strategy/util/args.h"

DataExt Ema2(const DataExt& x, unsigned long n) { return Wma(x, n); }

DataExt Ema2(const DataExt& x, const DataExt& n) { return Wma(x, n); }

DataExt Ema2Strategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Ema2));
}
