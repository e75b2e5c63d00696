#pragma once

#include "strategy/util/strategy.h"

// RELATE(A,B,N): correlation coefficient of A and B over the last N bars,
// gaps counted as 0.0. A window without variation divides by zero and gives
// NaN or an infinity. N < 2 gives only invalid values.
DataExt Relate(const DataExt& a, const DataExt& b, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; sums divided by
// c - 1; a zero denominator or a period below 1 gives the invalid value.
DataExt Relate(const DataExt& a, const DataExt& b, const DataExt& n);
