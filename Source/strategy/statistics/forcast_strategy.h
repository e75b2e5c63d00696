#pragma once

#include "strategy/util/strategy.h"

// FORCAST(X,N): value at the current bar of the least-squares line through
// the last N values (gaps counted as 0.0). A window without spread in time
// (N = 1) gives the current value itself.
DataExt Forcast(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives the invalid value.
DataExt Forcast(const DataExt& x, const DataExt& n);
