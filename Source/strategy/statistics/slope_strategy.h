#pragma once

#include "strategy/util/strategy.h"

// SLOPE(X,N): slope of the least-squares line through the last N values
// (gaps counted as 0.0) over the bar index. A window without spread in time
// (N = 1) gives 1.0.
DataExt Slope(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives the invalid value.
DataExt Slope(const DataExt& x, const DataExt& n);
