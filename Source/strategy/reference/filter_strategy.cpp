#include "strategy/reference/filter_strategy.h"

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

DataExt FilterStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  if (args[1].isSingleNumberType()) return Filter(args[0], args[1].getSingleNumber());
  // A string or a drawing has no per-bar values: the output stays 0.0.
  return Filter(args[0], args[1].isListType() ? args[1] : DataExt());
}
