#include "strategy/reference/dma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

bool IsDegenerateWeight(double a) { return a <= 0.0 || a >= 1.0 || !IsValid(a); }

// One bar after the first valid one; the two variants differ only in the
// order of the factors of the previous value's term.
template <typename Blend>
double DmaStep(double prev, double x, double a, Blend blend) {
  if (IsDegenerateWeight(a) || !IsValid(prev)) return x;
  return blend(prev, ValueOrZero(x), a);
}

template <typename WeightAt, typename Blend>
std::vector<double> DmaSeries(const std::vector<double>& xs, size_t len, WeightAt weight_at,
                              Blend blend) {
  return SeededAtFirstValid(xs, len, [&](double previous, size_t i) {
    return DmaStep(previous, xs[i], weight_at(i), blend);
  });
}

}  // namespace

namespace {

// A constant weight blends the previous value first.
double BlendConstant(double p, double q, double w) { return p * (1.0 - w) + q * w; }

}  // namespace

DataExt Dma(const DataExt& x, double a) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(DmaSeries(xs, xs.size(), [a](size_t) { return a; }, BlendConstant));
}

DataExt Dma(const DataExt& x, const DataExt& a) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& as = a.getRawData();
  return DataExt(DmaSeries(
      xs, MinLength(xs, as), [&as](size_t i) { return as[i]; },
      [](double p, double q, double w) { return (1.0 - w) * p + q * w; }));
}

DataExt DmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(Dma));
}

bool DmaStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  const std::optional<double> a = NumberArg(args, 1);
  return a && ResumeSeededAtFirstValid(args, from, state, [w = *a](double previous, double x) {
           return DmaStep(previous, x, w, BlendConstant);
         });
}

size_t DmaStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
