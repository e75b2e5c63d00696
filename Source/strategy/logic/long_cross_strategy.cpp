#include "strategy/logic/long_cross_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"

namespace {

// trunc32(i - n) in doubles: the oldest bar of the n bars before i. NaN and
// results outside the 32-bit range give INT32_MIN, so that callers clamping
// to the first valid bar fall back to it.
int32_t WindowStartBefore(size_t i, double n) {
  int32_t start;
  return TryTruncToInt32(static_cast<double>(i) - n, start) ? start : INT32_MIN;
}

}  // namespace

DataExt LongCross(const DataExt& a_value, const DataExt& b_value, unsigned long n) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const size_t first = FirstValidBarOfBoth(a, b);
  const uint64_t warm_up_end = AddCount(first, n);
  uint64_t below = 0;
  return DataExt(FromFirstValid(MinLength(a, b), first, [&](size_t i) {
    const bool is_below = a[i] < b[i];
    const double crossed = !is_below && below >= n ? 1.0 : 0.0;
    below = is_below ? below + 1 : 0;
    return i >= warm_up_end ? crossed : kInvalidValue;
  }));
}

DataExt LongCross(const DataExt& a_value, const DataExt& b_value, const DataExt& n_value) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const std::vector<double>& n = n_value.m_raw_data;
  const size_t first = FirstValidBarOfBoth(a, b);
  // Streak of a < b ending at i - 1, counted from the first valid bar; the
  // streak inside a window [start, i-1] is the shorter of it and the window.
  uint64_t below = 0;
  return DataExt(FromFirstValid(MinLength(a, b), first, [&](size_t i) {
    double crossed = 0.0;
    if (i < n.size()) {
      const int64_t position = static_cast<int64_t>(i);
      int64_t start = WindowStartBefore(i, n[i]);
      if (start < static_cast<int64_t>(first)) start = static_cast<int64_t>(first);
      const uint64_t span = start < position ? static_cast<uint64_t>(position - start) : 0;
      const uint64_t streak = below < span ? below : span;
      if (static_cast<double>(streak) >= n[i] && a[i] > b[i]) crossed = 1.0;
    }
    below = a[i] < b[i] ? below + 1 : 0;
    return crossed;
  }));
}

DataExt LongCrossStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kCountOrSeries>(
      FORMULA_OVERLOADS(LongCross));
}
