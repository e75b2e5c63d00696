#pragma once

#include "strategy/util/strategy.h"

// COVAR(A,B,N): population covariance of A and B over the last N bars, gaps
// counted as 0.0, from the first bar where both hold a value. N < 2 gives
// only invalid values; the result is as long as the shorter input.
DataExt Covar(const DataExt& a, const DataExt& b, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives the invalid value.
DataExt Covar(const DataExt& a, const DataExt& b, const DataExt& n);
