#include "strategy/reference/ema_strategy.h"

#include "strategy/reference/window_sums.h"

DataExt Ema(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  return DataExt(SeededAverage(xs, MinLength(xs, ns), [&xs, &ns](double e, size_t i) {
    const double t = (xs[i] + xs[i]) / (ns[i] + 1.0);
    return e * (ns[i] + -1.0) / (ns[i] + 1.0) + t;
  }));
}

DataExt EmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  if (args.size() < 2) return DataExt();
  for (size_t k = 0; k < 2; ++k) {
    WidenToBars(args[k], env.BarCount());
    if (!args[k].isListType()) return DataExt();  // a string or a drawing has no values
  }
  return Ema(args[0], args[1]);
}
