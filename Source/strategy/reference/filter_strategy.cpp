#include "strategy/reference/filter_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"
#include "strategy/util/window_loop.h"

namespace {

template <typename CountAt>
std::vector<double> FilterSeries(const std::vector<double>& xs, size_t len, CountAt count_at) {
  int32_t suppressed = 0;  // bars still forced to 0.0 after the last signal
  return FromFirstValid(xs.size(), FirstValidBar(xs), [&](size_t i) {
    if (i >= len) return 0.0;
    if (suppressed >= 1) {
      --suppressed;
      return 0.0;
    }
    if (!HoldsOrNaN(xs[i])) return 0.0;
    // trunc32: a count beyond the 32-bit range, or NaN, is INT32_MIN and
    // suppresses nothing.
    int32_t count = 0;
    suppressed = TryTruncToInt32(count_at(i), count) ? count : INT32_MIN;
    return 1.0;
  });
}

}  // namespace

DataExt Filter(const DataExt& x, double n) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(FilterSeries(xs, xs.size(), [n](size_t) { return n; }));
}

DataExt Filter(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  return DataExt(FilterSeries(xs, MinLength(xs, ns), [&ns](size_t i) { return ns[i]; }));
}

// A string or a drawing as N has no per-bar values: the output stays 0.0.
DataExt FilterStrategy::Exec(std::vector<DataExt> args, Environment& env,
                             std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrAny>(FORMULA_OVERLOADS(Filter));
}
