#include "strategy/reference/bars_next_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt BarsNext(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out(xs.size(), 0.0);
  // Filled from the last bar backward; bar j looks only at bar j + 1.
  for (size_t j = xs.size(); j-- > 1;) out[j - 1] = Holds(xs[j]) ? 1.0 : out[j] + 1.0;
  return DataExt(std::move(out));
}

DataExt BarsNextStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsNext);
}
