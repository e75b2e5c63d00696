#pragma once

#include "strategy/util/strategy.h"

// How often X held (was > 0) in the last n bars; n = 0 counts every bar
// since the first valid bar. No invalid lead-in after the first valid bar.
DataExt Count(const DataExt& x, unsigned long n);
// The same with a window of n[i] bars at each bar (n[i] <= 0 counts since the
// first valid bar).
DataExt Count2(const DataExt& x, const DataExt& n);
