#include "strategy/logic/down_nday_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt DownNDay(const DataExt& x, double n) { return MovesInARow<std::less<>>(x, n); }

DataExt DownNDay(const DataExt& x, const DataExt& n) { return MovesInARow<std::less<>>(x, n); }

DataExt DownNDayStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(DownNDay));
}
