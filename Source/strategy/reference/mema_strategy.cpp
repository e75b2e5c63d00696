#include "strategy/reference/mema_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt Mema(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  const double weight = static_cast<double>(n) - 1.0;
  const double divisor = static_cast<double>(n);
  std::vector<double> out;
  out.reserve(xs.size());
  for (size_t i = 0; i < xs.size(); ++i) {
    if (i <= f) {
      out.push_back(i == f ? xs[f] : kInvalidValue);
      continue;
    }
    out.push_back((ValueOrZero(out[i - 1]) * weight + ValueOrZero(xs[i])) / divisor);
  }
  return DataExt(std::move(out));
}

DataExt Mema(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    if (i <= f) {
      out.push_back(i == f ? xs[f] : kInvalidValue);
    } else if (ns[i] == 0.0 || !IsValid(ns[i])) {
      out.push_back(kInvalidValue);
    } else {
      out.push_back(((ns[i] - 1.0) * ValueOrZero(out[i - 1]) + ValueOrZero(xs[i])) / ns[i]);
    }
  }
  return DataExt(std::move(out));
}

DataExt MemaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Mema));
}
