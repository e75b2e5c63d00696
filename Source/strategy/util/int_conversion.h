#pragma once

#include <cstdint>

// Conversions of a double to a signed 32-bit integer by truncation toward
// zero, defined for every double (a plain cast of NaN or of a value outside
// the range is undefined behaviour). Two policies, for two kinds of callers:

// Saturating: values beyond the range give INT32_MIN / INT32_MAX and NaN
// gives 0. For numbers that are always usable once clamped (drawing widths,
// colour parts, suppression counts).
inline int32_t TruncToInt32(double value) {
  if (value != value) return 0;
  if (value >= 2147483648.0) return INT32_MAX;
  if (value <= -2147483649.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// Checked: false for NaN and for values whose truncation does not fit, with
// `out` left untouched; callers decide what such a value means (an invalid
// operand, a window reaching before every bar).
inline bool TryTruncToInt32(double value, int32_t& out) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
  out = static_cast<int32_t>(value);
  return true;
}
