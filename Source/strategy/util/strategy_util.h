#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/bar_data.h"
#include "compiler/data_ext.h"

// Marks a bar without a value in every series; tested by exact equality
// (a NaN is a value, not a gap).
inline constexpr double kInvalidValue = -100000.0;

inline bool IsValid(double value) { return value != kInvalidValue; }

// Index of the first valid value, or x.size() when there is none. Bars before
// it stay invalid in every window function.
size_t FirstValidBar(const std::vector<double>& x);

// A constant count or window length: truncated toward zero. Negative counts
// and NaN give 0; counts beyond the 64-bit range saturate. Callers must
// still guard sums such as f + n against overflow (see AddCount).
uint64_t ToCount(double n);

// f + n, saturating instead of wrapping, for comparisons with bar indexes.
inline uint64_t AddCount(uint64_t a, uint64_t b) {
  return a + b < a ? UINT64_MAX : a + b;
}

// Start of a per-bar window: trunc32(i - n + 1.0) computed in doubles; a
// result outside the 32-bit range, or NaN, is INT32_MIN so that the window
// falls back to the first valid bar.
int32_t WindowStart(size_t i, double n);

// max(f, WindowStart(i, n)): may lie beyond i when the period is below 1.
int64_t WindowStartFrom(size_t f, size_t i, double n);

// What a value offers to a function that dispatches on argument kinds.
enum class ArgKind { kSeries, kNumber, kOther };
ArgKind KindOf(const DataExt& value);

// `count` copies of `value`.
std::vector<double> Broadcast(double value, size_t count);

// Turns a single number into a series of `bar_count` copies, in place; series
// and other kinds are left as they are (a string keeps its empty series).
void WidenToBars(DataExt& value, size_t bar_count);

// Shortest length among series.
inline size_t MinLength(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() < b.size() ? a.size() : b.size();
}

// Reads one field of one bar; -100000.0 for an index beyond the rows.
class StrategyUtil {
 public:
  static double Close(const BarData& bars, unsigned long index);
  static double Open(const BarData& bars, unsigned long index);
  static double High(const BarData& bars, unsigned long index);
  static double Low(const BarData& bars, unsigned long index);
};
