#include "strategy/reference/lod_strategy.h"

#include "strategy/reference/extreme_rank.h"
#include "strategy/util/args.h"

DataExt Lod(const DataExt& x, unsigned long n) {
  return DataExt(RankInWindow<LowSide>(x.getRawData(), n));
}

DataExt Lod(const DataExt& x, const DataExt& n) {
  return DataExt(RankInPerBarWindow<LowSide>(x.getRawData(), n.getRawData()));
}

DataExt LodStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Lod));
}
