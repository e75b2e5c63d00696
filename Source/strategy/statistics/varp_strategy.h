#pragma once

#include "strategy/util/strategy.h"

// VARP(X,N): population variance over the last N bars, gaps counted as 0.0.
// N <= 1 gives only invalid values.
DataExt Varp(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives the invalid value.
DataExt Varp(const DataExt& x, const DataExt& n);
