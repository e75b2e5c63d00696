#include "strategy/reference/sma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

double SmaStep(double e, double x, double n, double m) {
  const double t = x * m / n;
  return e * (n - m) / n + t;
}

}  // namespace

DataExt Sma(const DataExt& x, const DataExt& n, const DataExt& m) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const std::vector<double>& ms = m.getRawData();
  return DataExt(SeededAverage(xs, MinLength(xs, ns, ms), [&xs, &ns, &ms](double e, size_t i) {
    return SmaStep(e, xs[i], ns[i], ms[i]);
  }));
}

DataExt SmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars, Arg::kWidenedToBars, Arg::kWidenedToBars>(Sma);
}

bool SmaStrategy::Resume(const std::vector<const NodeState*>& args, size_t bar_count, size_t from,
                         NodeState& state) const {
  const NodeState* x = SeriesArg(args, 0);
  const std::optional<double> n = NumberArg(args, 1);
  const std::optional<double> m = NumberArg(args, 2);
  if (!x || !n || !m) return false;
  const SeriesView xs = x->Series();
  return ResumeSeededAverage(xs, bar_count, from, state,
                             [&xs, n, m](double e, size_t i) { return SmaStep(e, xs[i], *n, *m); });
}

size_t SmaStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
