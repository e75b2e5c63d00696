#include "strategy/reference/total_bars_count_strategy.h"

#include "strategy/util/strategy_util.h"

DataExt TotalBarsCount(const DataExt& x) {
  const size_t len = x.getRawData().size();
  return DataExt(std::vector<double>(len, static_cast<double>(len)));
}

DataExt TotalBarsCountStrategy::Exec(std::vector<DataExt> args, Environment&,
                                     std::shared_ptr<AstNode>) {
  if (args.empty() || !args[0].isListType()) return DataExt();
  return TotalBarsCount(args[0]);
}
