#include "strategy/reference/bars_since_n_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt BarsSinceN(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(xs.size());
  out.assign(f, kInvalidValue);
  // `first` is the oldest bar of the window where X held, or i + 1 when there
  // is none; it only moves forward, so the whole pass is linear.
  size_t first = f;
  for (size_t i = f; i < xs.size(); ++i) {
    const size_t window_start = i >= n ? static_cast<size_t>(i - n + 1) : 0;
    if (first < window_start) first = window_start;
    while (first <= i && !Holds(xs[first])) ++first;
    out.push_back(first <= i ? static_cast<double>(i - first) : 0.0);
  }
  return DataExt(std::move(out));
}

DataExt BarsSinceN(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  // next_held[k]: the first bar >= k where X holds, or len.
  std::vector<size_t> next_held(len + 1, len);
  for (size_t k = len; k-- > 0;) next_held[k] = Holds(xs[k]) ? k : next_held[k + 1];
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    if (i < f) {
      out.push_back(kInvalidValue);
      continue;
    }
    const int64_t start = WindowStartFrom(f, i, ns[i]);
    const size_t hit = start > static_cast<int64_t>(i) ? len : next_held[start];
    out.push_back(static_cast<double>(hit <= i ? i - hit : i));
  }
  return DataExt(std::move(out));
}

DataExt BarsSinceNStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                 std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(BarsSinceN));
}
