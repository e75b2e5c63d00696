#include "strategy/reference/mema_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Mema(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  const double weight = static_cast<double>(n) - 1.0;
  const double divisor = static_cast<double>(n);
  return DataExt(SeededAtFirstValid(xs, xs.size(), [&](double previous, size_t i) {
    return (ValueOrZero(previous) * weight + ValueOrZero(xs[i])) / divisor;
  }));
}

DataExt Mema(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  return DataExt(SeededAtFirstValid(xs, MinLength(xs, ns), [&](double previous, size_t i) {
    if (ns[i] == 0.0 || !IsValid(ns[i])) return kInvalidValue;
    return ((ns[i] - 1.0) * ValueOrZero(previous) + ValueOrZero(xs[i])) / ns[i];
  }));
}

DataExt MemaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Mema));
}
