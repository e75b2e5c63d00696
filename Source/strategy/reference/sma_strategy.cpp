#include "strategy/reference/sma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Sma(const DataExt& x, const DataExt& n, const DataExt& m) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const std::vector<double>& ms = m.getRawData();
  return DataExt(SeededAverage(xs, MinLength(xs, ns, ms), [&xs, &ns, &ms](double e, size_t i) {
    const double t = xs[i] * ms[i] / ns[i];
    return e * (ns[i] - ms[i]) / ns[i] + t;
  }));
}

DataExt SmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars, Arg::kWidenedToBars, Arg::kWidenedToBars>(Sma);
}
