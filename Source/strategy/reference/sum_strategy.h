#pragma once

#include "strategy/util/strategy.h"

// Sum of the valid values among the last n bars (running sum); n = 0 sums
// every bar from the first valid one.
DataExt Sum(const DataExt& x, unsigned long n);
// Per-bar window x[max(f, i - n[i] + 1)..i]; a period below 1 gives 0.0.
DataExt Sum(const DataExt& x, const DataExt& n);
