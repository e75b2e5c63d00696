#include "strategy/reference/ema_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Ema(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  return DataExt(SeededAverage(xs, MinLength(xs, ns), [&xs, &ns](double e, size_t i) {
    const double t = (xs[i] + xs[i]) / (ns[i] + 1.0);
    return e * (ns[i] + -1.0) / (ns[i] + 1.0) + t;
  }));
}

DataExt EmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars, Arg::kWidenedToBars>(Ema);
}
