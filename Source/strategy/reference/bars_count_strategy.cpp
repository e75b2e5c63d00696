#include "strategy/reference/bars_count_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt BarsCount(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(xs.size());
  out.assign(f, kInvalidValue);
  for (size_t i = f; i < xs.size(); ++i) out.push_back(static_cast<double>(i - f));
  return DataExt(std::move(out));
}

DataExt BarsCountStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsCount);
}
