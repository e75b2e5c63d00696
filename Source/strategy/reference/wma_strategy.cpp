#include "strategy/reference/wma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

// Bars [begin, end) of WMA with a constant period n: invalid before the
// first full window from the first valid bar f. The weights move with the
// window, so every window is summed afresh and no total enters or leaves.
template <typename X, typename Put>
void WmaBars(const X& x, size_t f, uint64_t n, size_t begin, size_t end, Put put) {
  auto none = [](size_t) {};
  SlideBars(begin, end, f, n, FirstFullWindow(f, n), none, none, [&](size_t i) {
    WeightedSumOfValid acc;
    const size_t start = i + 1 - n;
    for (size_t k = start; k <= i; ++k) acc.Add(x[k], static_cast<double>(k - start + 1));
    return acc.sum / acc.divisor;
  }, put);
}

}  // namespace

DataExt Wma(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out(xs.size());
  WmaBars(xs, FirstValidBar(xs), n, 0, xs.size(), [&out](size_t i, double v) { out[i] = v; });
  return DataExt(std::move(out));
}

DataExt Wma(const DataExt& x, const DataExt& n) {
  auto average = [](const WeightedSumOfValid& acc, double) { return acc.sum / acc.divisor; };
  // An empty window divides the empty sums: NaN.
  return DataExt(PerBarWindow<WeightedSumOfValid>(x.getRawData(), n.getRawData(),
                                                  average(WeightedSumOfValid(), 0.0), average));
}

DataExt WmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Wma));
}

bool WmaStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  const std::optional<double> period = NumberArg(args, 1);
  if (!period) return false;
  const uint64_t n = ToCount(*period);
  return ResumeOverSeries(args, from, state, n,
                          [n](const auto& x, size_t f, size_t begin, size_t end, Carry&,
                              auto put) { WmaBars(x, f, n, begin, end, put); });
}

size_t WmaStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
