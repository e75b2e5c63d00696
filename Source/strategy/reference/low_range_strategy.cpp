#include "strategy/reference/low_range_strategy.h"

#include "strategy/reference/extreme_rank.h"
#include "strategy/util/args.h"

DataExt LowRange(const DataExt& x) { return DataExt(ExtremeRange<LowSide>(x.getRawData())); }

DataExt LowRangeStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(LowRange);
}
