#include "strategy/reference/count_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

namespace {

// Bars [begin, end) of the running count of the bars since f (and, for n > 0,
// within the last n) where X held: each bar enters once and, n bars later,
// leaves once. The count (a whole number, exact as a double) is carried in
// carry.acc.
template <typename X, typename Put>
void CountBars(const X& x, size_t f, uint64_t n, size_t begin, size_t end, Carry& carry, Put put) {
  double& count = carry.acc;
  SlideBars(
      begin, end, f, n, 0, [&](size_t i) { count += Holds(x[i]) ? 1.0 : 0.0; },
      [&](size_t j) { count -= n > 0 && Holds(x[j]) ? 1.0 : 0.0; },
      [&](size_t) { return count; }, put);
}

}  // namespace

DataExt Count(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out(xs.size());
  Carry carry;
  CountBars(xs, FirstValidBar(xs), n, 0, xs.size(), carry,
            [&out](size_t i, double v) { out[i] = v; });
  return DataExt(std::move(out));
}

DataExt Count2(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  // held_before[k]: bars below k where X held. Bars before f never hold (they
  // are invalid), so a window reaching back past f counts the same as one
  // starting at f.
  std::vector<uint64_t> held_before(len + 1, 0);
  for (size_t k = 0; k < len; ++k) held_before[k + 1] = held_before[k] + (Holds(xs[k]) ? 1 : 0);
  return DataExt(FromFirstValid(len, f, [&](size_t i) {
    const uint64_t k = ToCount(ns[i]);
    const size_t from = k == 0 ? f : (k > i ? 0 : static_cast<size_t>(i - k + 1));
    return static_cast<double>(held_before[i + 1] - held_before[from]);
  }));
}

DataExt CountStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  Args view(args, env);
  if (view.Series(1)) return view.Call<Arg::kSeries, Arg::kSeries>(Count2);
  return view.Call<Arg::kSeries, Arg::kCount>(Count);
}

bool CountStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                           NodeState& state) const {
  const std::optional<double> period = NumberArg(args, 1);
  if (!period) return false;
  const uint64_t n = ToCount(*period);
  return ResumeOverSeries(args, from, state, n,
                          [n](const auto& x, size_t f, size_t begin, size_t end, Carry& carry,
                              auto put) { CountBars(x, f, n, begin, end, carry, put); });
}

size_t CountStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
