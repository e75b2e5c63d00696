#include "strategy/reference/bars_last_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

DataExt BarsLast(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  // Bar 0 starts the count whatever it holds; when the first valid bar comes
  // later and does not hold, it reads 1.
  uint64_t since = 0;
  return DataExt(FromFirstValid(xs.size(), FirstValidBar(xs), [&](size_t i) {
    since = i == 0 || Holds(xs[i]) ? 0 : since + 1;
    return static_cast<double>(since);
  }));
}

DataExt BarsLastStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsLast);
}
