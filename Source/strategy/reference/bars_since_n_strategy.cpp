#include "strategy/reference/bars_since_n_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

DataExt BarsSinceN(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  // `first` is the oldest bar of the window where X held, or i + 1 when there
  // is none; it only moves forward, so the whole pass is linear.
  size_t first = f;
  return DataExt(FromFirstValid(xs.size(), f, [&](size_t i) {
    const size_t window_start = i >= n ? static_cast<size_t>(i - n + 1) : 0;
    if (first < window_start) first = window_start;
    while (first <= i && !Holds(xs[first])) ++first;
    return first <= i ? static_cast<double>(i - first) : 0.0;
  }));
}

DataExt BarsSinceN(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  // next_held[k]: the first bar >= k where X holds, or len.
  std::vector<size_t> next_held(len + 1, len);
  for (size_t k = len; k-- > 0;) next_held[k] = Holds(xs[k]) ? k : next_held[k + 1];
  return DataExt(FromFirstValid(len, f, [&](size_t i) {
    const int64_t start = WindowStartFrom(f, i, ns[i]);
    const size_t hit = start > static_cast<int64_t>(i) ? len : next_held[start];
    return static_cast<double>(hit <= i ? i - hit : i);
  }));
}

DataExt BarsSinceNStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                 std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(BarsSinceN));
}
