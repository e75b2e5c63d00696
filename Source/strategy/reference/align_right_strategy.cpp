#include "strategy/reference/align_right_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt AlignRight(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out(xs.size(), kInvalidValue);
  size_t free_end = out.size();  // out[free_end..] is filled
  for (size_t k = xs.size(); k-- > 0;) {
    if (IsValid(xs[k])) out[--free_end] = xs[k];
  }
  return DataExt(std::move(out));
}

DataExt AlignRightStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                 std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(AlignRight);
}
