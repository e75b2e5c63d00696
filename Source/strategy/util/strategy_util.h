#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/bar_data.h"
#include "compiler/data_ext.h"

inline bool IsValid(double value) { return value != kInvalidValue; }

// A gap read as 0.0, as the functions that count gaps as zeros do.
inline double ValueOrZero(double value) { return IsValid(value) ? value : 0.0; }

// A condition holds at a bar when its value is strictly above 0: zero,
// negative values, the invalid value and NaN do not hold.
inline bool Holds(double value) { return value > 0.0; }

// The signal test of the functions that read "not at most 0": the same as
// Holds except that a NaN holds too.
inline bool HoldsOrNaN(double value) { return !(value <= 0.0); }

// Index of the first valid value, or x.size() when there is none. Bars before
// it stay invalid in every window function.
size_t FirstValidBar(const std::vector<double>& x);

// First position below both lengths at which a and b are both valid, or the
// shorter length when there is none.
size_t FirstValidBarOfBoth(const std::vector<double>& a, const std::vector<double>& b);

// A constant count or window length: truncated toward zero, then taken
// modulo 2^64 (2^64 itself is 0). Negative counts, NaN and infinities give
// 0. Callers must still guard sums such as f + n against overflow (see
// AddCount).
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

// The elements an argument offers as a series: those of a series, none for a
// number, a string or a drawing (whatever their storage still holds).
const std::vector<double>& SeriesOf(const DataExt& value);

// `count` copies of `value`.
std::vector<double> Broadcast(double value, size_t count);

// Turns a single number into a series of `bar_count` copies, in place; series
// and other kinds are left as they are (a string keeps its empty series).
void WidenToBars(DataExt& value, size_t bar_count);

// Shortest length among series: the bars that all of them have a value for.
template <typename... More>
size_t MinLength(const std::vector<double>& first, const More&... more) {
  size_t length = first.size();
  ((length = more.size() < length ? more.size() : length), ...);
  return length;
}

// Reads one field of one bar; -100000.0 for an index beyond the rows.
class StrategyUtil {
 public:
  static double Close(const BarData& bars, unsigned long index);
  static double Open(const BarData& bars, unsigned long index);
  static double High(const BarData& bars, unsigned long index);
  static double Low(const BarData& bars, unsigned long index);
};
