#include "strategy/reference/count_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

DataExt Count(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  // Running count of the bars since f (and, for n > 0, within the last n) where
  // X held: each bar enters once and, n bars later, leaves once.
  uint64_t count = 0;
  return DataExt(SlidingWindows(
      xs.size(), FirstValidBar(xs), n, 0, [&](size_t i) { count += Holds(xs[i]) ? 1 : 0; },
      [&](size_t j) { count -= n > 0 && Holds(xs[j]) ? 1 : 0; },
      [&](size_t) { return static_cast<double>(count); }));
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
