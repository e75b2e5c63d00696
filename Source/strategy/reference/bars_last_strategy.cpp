#include "strategy/reference/bars_last_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt BarsLast(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(xs.size());
  out.assign(f, kInvalidValue);
  // Bar 0 starts the count whatever it holds; when the first valid bar comes
  // later and does not hold, it reads 1.
  uint64_t since = 0;
  for (size_t i = f; i < xs.size(); ++i) {
    if (i == 0 || Holds(xs[i])) {
      since = 0;
    } else {
      ++since;
    }
    out.push_back(static_cast<double>(since));
  }
  return DataExt(std::move(out));
}

DataExt BarsLastStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsLast);
}
