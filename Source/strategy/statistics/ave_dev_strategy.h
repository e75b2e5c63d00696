#pragma once

#include "strategy/util/strategy.h"

// AVEDEV(X,N): mean absolute deviation over the last N bars, gaps counted as
// 0.0. N = 0 divides an empty sum by 0 and gives NaN.
DataExt AveDev(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives the invalid value.
DataExt AveDev(const DataExt& x, const DataExt& n);
