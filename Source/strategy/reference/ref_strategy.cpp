#include "strategy/reference/ref_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

namespace {

// Bars [begin, end) of REF with a constant look-back n.
template <typename X, typename Put>
void RefBars(const X& x, uint64_t n, size_t begin, size_t end, Put put) {
  for (size_t i = begin; i < end; ++i) put(i, i < n ? kInvalidValue : x[i - n]);
}

}  // namespace

DataExt Ref(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out(xs.size());
  RefBars(xs, n, 0, xs.size(), [&out](size_t i, double v) { out[i] = v; });
  return DataExt(std::move(out));
}

DataExt Ref(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    const uint64_t k = ToCount(ns[i]);
    out.push_back(i < k ? kInvalidValue : xs[i - k]);
  }
  return DataExt(std::move(out));
}

DataExt RefStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Ref));
}

// Bar i copies bar i - n: the bars from `from` on are copied again, as far
// back as the held bars of x reach.
bool RefStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  const NodeState* x = SeriesArg(args, 0);
  const std::optional<double> count = NumberArg(args, 1);
  if (!x || !count) return false;
  const uint64_t n = ToCount(*count);
  const SeriesView xs = x->Series();
  size_t i = from > 0 && state.kept && state.value.isListType() ? from : 0;
  if (i > state.Size()) i = state.Size();
  if (i < state.base || (i >= n && i - n < xs.base())) {
    if (xs.base() > 0) return false;
    i = 0;
    state.Restart();
  }
  state.Resize(xs.size());
  RefBars(xs, n, i, xs.size(), [&state](size_t bar, double v) { state.At(bar) = v; });
  return true;
}

size_t RefStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
