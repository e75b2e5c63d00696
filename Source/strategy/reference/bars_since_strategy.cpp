#include "strategy/reference/bars_since_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

DataExt BarsSince(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  bool found = false;
  size_t first = 0;
  return DataExt(FromFirstValid(xs.size(), FirstValidBar(xs), [&](size_t i) {
    if (!found && HoldsOrNaN(xs[i])) {
      found = true;
      first = i;
    }
    return found ? static_cast<double>(i - first) : 0.0;
  }));
}

DataExt BarsSinceStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsSince);
}
