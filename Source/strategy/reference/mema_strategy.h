#pragma once

#include "strategy/util/strategy.h"

// Recursive average out = (prev * (n - 1) + x) / n, starting with x at the
// first valid bar; an invalid input or previous value counts as 0.0, so a gap
// decays the average instead of interrupting it.
DataExt Mema(const DataExt& x, unsigned long n);
// Per-bar period: a bar whose n[i] is 0.0 or invalid is invalid.
DataExt Mema(const DataExt& x, const DataExt& n);
