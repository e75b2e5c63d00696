#include "strategy/reference/filter_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"
#include "strategy/util/strategy_util.h"

namespace {

template <typename CountAt>
std::vector<double> FilterSeries(const std::vector<double>& xs, size_t len, CountAt count_at) {
  const size_t f = FirstValidBar(xs);
  std::vector<double> out(xs.size(), 0.0);
  for (size_t j = 0; j < f; ++j) out[j] = kInvalidValue;
  int32_t suppressed = 0;  // bars still forced to 0.0 after the last signal
  for (size_t i = f; i < len; ++i) {
    if (suppressed >= 1) {
      --suppressed;
    } else if (HoldsOrNaN(xs[i])) {
      out[i] = 1.0;
      suppressed = TruncToInt32(count_at(i));
    }
  }
  return out;
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
  Args view(args, env);
  const std::optional<double> n = view.Number(1);
  if (n && view.Series(0)) return Filter(*view.Series(0), *n);
  return view.Call<Arg::kSeries, Arg::kAny>(
      [](const DataExt& x, const DataExt& counts) { return Filter(x, counts); });
}
