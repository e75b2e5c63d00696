#include "strategy/reference/mema_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

double MemaStep(double previous, double x, unsigned long n) {
  const double weight = static_cast<double>(n) - 1.0;
  const double divisor = static_cast<double>(n);
  return (ValueOrZero(previous) * weight + ValueOrZero(x)) / divisor;
}

}  // namespace

DataExt Mema(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(SeededAtFirstValid(
      xs, xs.size(), [&](double previous, size_t i) { return MemaStep(previous, xs[i], n); }));
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

bool MemaStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                          NodeState& state) const {
  const std::optional<double> n = NumberArg(args, 1);
  if (!n) return false;
  const unsigned long count = ToCount(*n);
  return ResumeSeededAtFirstValid(args, from, state, [count](double previous, double x) {
    return MemaStep(previous, x, count);
  });
}

size_t MemaStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
