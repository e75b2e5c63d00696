#pragma once

#include "strategy/util/strategy.h"

// x[i + n]: the value n bars ahead; the last n bars are invalid.
DataExt Refx(const DataExt& x, unsigned long n);
// Per-bar count n[i]; a count not above 0 (or NaN) reads the current bar.
DataExt Refx(const DataExt& x, const DataExt& n);
