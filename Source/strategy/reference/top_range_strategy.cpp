#include "strategy/reference/top_range_strategy.h"

#include "strategy/reference/extreme_rank.h"
#include "strategy/util/args.h"

DataExt TopRange(const DataExt& x) { return DataExt(ExtremeRange<HighSide>(x.getRawData())); }

DataExt TopRangeStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(TopRange);
}
