#include "strategy/reference/ema_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

double EmaStep(double e, double x, double n) {
  const double t = (x + x) / (n + 1.0);
  return e * (n + -1.0) / (n + 1.0) + t;
}

}  // namespace

DataExt Ema(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  return DataExt(SeededAverage(xs, MinLength(xs, ns),
                               [&xs, &ns](double e, size_t i) { return EmaStep(e, xs[i], ns[i]); }));
}

DataExt EmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars, Arg::kWidenedToBars>(Ema);
}

bool EmaStrategy::Resume(const std::vector<const NodeState*>& args, size_t bar_count, size_t from,
                         NodeState& state) const {
  const NodeState* x = SeriesArg(args, 0);
  const std::optional<double> n = NumberArg(args, 1);
  if (!x || !n) return false;
  const SeriesView xs = x->Series();
  return ResumeSeededAverage(xs, bar_count, from, state,
                             [&xs, n](double e, size_t i) { return EmaStep(e, xs[i], *n); });
}

size_t EmaStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
