#include "strategy/reference/hod_strategy.h"

#include "strategy/reference/extreme_rank.h"
#include "strategy/util/args.h"

DataExt Hod(const DataExt& x, unsigned long n) {
  return DataExt(RankInWindow<HighSide>(x.getRawData(), n));
}

DataExt Hod(const DataExt& x, const DataExt& n) {
  return DataExt(RankInPerBarWindow<HighSide>(x.getRawData(), n.getRawData()));
}

DataExt HodStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Hod));
}
