#include "strategy/logic/up_nday_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt UpNDay(const DataExt& x, double n) { return MovesInARow<std::greater<>>(x, n); }

DataExt UpNDay(const DataExt& x, const DataExt& n) { return MovesInARow<std::greater<>>(x, n); }

DataExt UpNDayStrategy::Exec(std::vector<DataExt> args, Environment& env,
                             std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(UpNDay));
}
