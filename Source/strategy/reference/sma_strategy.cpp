#include "strategy/reference/sma_strategy.h"

#include <algorithm>

#include "strategy/util/strategy_util.h"

DataExt Sma(const DataExt& x, const DataExt& n, const DataExt& m) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const std::vector<double>& ms = m.getRawData();
  const size_t len = std::min({xs.size(), ns.size(), ms.size()});
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
      const double t = xs[i] * ms[i] / ns[i];
      e = e * (ns[i] - ms[i]) / ns[i] + t;
    }
    out.push_back(e);
  }
  return DataExt(std::move(out));
}

DataExt SmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  if (args.size() < 3) return DataExt();
  for (size_t k = 0; k < 3; ++k) {
    WidenToBars(args[k], env.BarCount());
    if (!args[k].isListType()) return DataExt();  // a string or a drawing has no values
  }
  return Sma(args[0], args[1], args[2]);
}
