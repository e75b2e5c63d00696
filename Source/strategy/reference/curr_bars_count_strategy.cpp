#include "strategy/reference/curr_bars_count_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt CurrBarsCount(const DataExt& x) {
  const size_t len = x.getRawData().size();
  std::vector<double> out;
  out.reserve(len);
  for (size_t k = 0; k < len; ++k) out.push_back(static_cast<double>(len - 1 - k));
  return DataExt(std::move(out));
}

DataExt CurrBarsCountStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                    std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(CurrBarsCount);
}
