#include "strategy/reference/top_range_strategy.h"

#include "strategy/reference/extreme_rank.h"

DataExt TopRange(const DataExt& x) { return DataExt(ExtremeRange<HighSide>(x.getRawData())); }

DataExt TopRangeStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.empty() || !args[0].isListType()) return DataExt();
  return TopRange(args[0]);
}
