#include "strategy/reference/ema_strategy.h"

#include "strategy/util/strategy_util.h"

DataExt Ema(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  std::vector<double> out;
  out.reserve(len);
  double e = 0.0;
  bool seeded = false;
  for (size_t i = 0; i < len; ++i) {
    if (!IsValid(xs[i])) {
      out.push_back(kInvalidValue);
      continue;
    }
    if (!seeded) {
      e = xs[i];
      seeded = true;
    } else {
      const double t = (xs[i] + xs[i]) / (ns[i] + 1.0);
      e = e * (ns[i] + -1.0) / (ns[i] + 1.0) + t;
    }
    out.push_back(e);
  }
  return DataExt(std::move(out));
}

DataExt EmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  if (args.size() < 2) return DataExt();
  for (size_t k = 0; k < 2; ++k) {
    WidenToBars(args[k], env.BarCount());
    if (!args[k].isListType()) return DataExt();  // a string or a drawing has no values
  }
  return Ema(args[0], args[1]);
}
