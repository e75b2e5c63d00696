#include "strategy/reference/low_range_strategy.h"

#include "strategy/reference/extreme_rank.h"

DataExt LowRange(const DataExt& x) { return DataExt(ExtremeRange<LowSide>(x.getRawData())); }

DataExt LowRangeStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.empty() || !args[0].isListType()) return DataExt();
  return LowRange(args[0]);
}
