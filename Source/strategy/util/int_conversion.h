#pragma once

#include <cstdint>

// Truncation toward zero to a 32-bit signed integer, defined for every
// double: values beyond the range saturate to INT32_MIN / INT32_MAX and NaN
// gives 0, where a plain cast would be undefined behaviour.
inline int32_t TruncToInt32(double value) {
  if (value != value) return 0;
  if (value >= 2147483648.0) return INT32_MAX;
  if (value <= -2147483649.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}
