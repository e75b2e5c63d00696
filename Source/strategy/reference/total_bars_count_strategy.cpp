#include "strategy/reference/total_bars_count_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt TotalBarsCount(const DataExt& x) {
  const size_t len = x.getRawData().size();
  return DataExt(std::vector<double>(len, static_cast<double>(len)));
}

DataExt TotalBarsCountStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                     std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(TotalBarsCount);
}
