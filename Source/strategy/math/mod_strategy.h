#pragma once

#include "strategy/util/strategy.h"

// Integer remainder of a[i] by b[i], both truncated toward zero to 32-bit
// integers; the result has the sign of the dividend (-7 MOD 3 is -1). Invalid
// where an operand is invalid, where the divisor truncates to 0, and where an
// operand is NaN or outside the 32-bit range.
DataExt Mod(const DataExt& a, const DataExt& b);
// The same with one divisor for every bar; an unusable divisor makes every
// position invalid.
DataExt Mod(const DataExt& a, double divisor);
