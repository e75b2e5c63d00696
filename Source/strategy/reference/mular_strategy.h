#pragma once

#include "strategy/util/strategy.h"

// Product of the valid values among the last n[i] bars (all bars so far when
// n[i] exceeds the history or is NaN; 1.0 for a period below 1). A bar whose
// own value is invalid is invalid.
DataExt Mular(const DataExt& x, const DataExt& n);

// A single-number period is repeated once per value of X.
