#include "strategy/reference/bars_since_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt BarsSince(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(xs.size());
  out.assign(f, kInvalidValue);
  bool found = false;
  size_t first = 0;
  for (size_t i = f; i < xs.size(); ++i) {
    if (!found && HoldsOrNaN(xs[i])) {
      found = true;
      first = i;
    }
    out.push_back(found ? static_cast<double>(i - first) : 0.0);
  }
  return DataExt(std::move(out));
}

DataExt BarsSinceStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsSince);
}
