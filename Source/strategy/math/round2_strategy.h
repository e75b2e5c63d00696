#pragma once

#include "strategy/util/strategy.h"

// Rounds each value to `digits` decimals, halves upward (toward +infinity) on
// the binary value of the fraction: 1.25 gives 1.3, -1.25 gives -1.2. The
// fraction is shifted by one multiplication by 10 per digit and back by one
// division per digit. Invalid bars stay invalid.
DataExt Round2(const DataExt& x, unsigned long digits);
// Per-bar digits: a count above 0 shifts ceil(digits[i]) times, one at or
// below 0 (or NaN) rounds to a whole number. Invalid where x[i] or digits[i]
// is invalid, and at positions of x beyond the end of `digits`.
DataExt Round2(const DataExt& x, const DataExt& digits);
