#include "strategy/reference/back_set_strategy.h"

#include <cmath>

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

namespace {

// First bar marked by a signal at bar i with length n > 0: i - ceil(n) + 1,
// or 0 when the marks would reach before the first bar.
size_t MarkStart(size_t i, double n) {
  const double m = std::ceil(n);
  return m >= static_cast<double>(i) + 1.0 ? 0 : i + 1 - static_cast<size_t>(m);
}

// Marks every bar covered by a signal at bars f..len-1. Scanning from the
// right keeps the lowest mark start of the signals seen so far, so each bar
// is written once instead of once per signal covering it; bars before f
// stay invalid unless a signal's marks reach them.
template <typename MarkStartAt>
std::vector<double> BackSetSeries(const std::vector<double>& xs, size_t len,
                                  MarkStartAt mark_start_at) {
  const size_t f = FirstValidBar(xs);
  std::vector<double> out = FromFirstValid(xs.size(), f, [](size_t) { return 0.0; });
  size_t reach = SIZE_MAX;  // no signal yet
  for (size_t j = len; j-- > 0;) {
    if (j >= f) {
      const size_t start = mark_start_at(j);
      if (start < reach) reach = start;
    }
    if (reach <= j) out[j] = 1.0;
  }
  return out;
}

}  // namespace

DataExt BackSet(const DataExt& x, double n) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(BackSetSeries(xs, xs.size(), [&xs, n](size_t i) {
    return Holds(xs[i]) && n > 0.0 ? MarkStart(i, n) : SIZE_MAX;
  }));
}

DataExt BackSet(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  return DataExt(BackSetSeries(xs, MinLength(xs, ns), [&xs, &ns](size_t i) {
    return HoldsOrNaN(xs[i]) && ns[i] > 0.0 ? MarkStart(i, ns[i]) : SIZE_MAX;
  }));
}

// A string or a drawing as N has no per-bar values: no bar signals.
DataExt BackSetStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrAny>(FORMULA_OVERLOADS(BackSet));
}
