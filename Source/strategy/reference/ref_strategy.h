#pragma once

#include "strategy/util/strategy.h"

// x[i - n]: the value n bars back; the first n bars are invalid.
DataExt Ref(const DataExt& x, unsigned long n);
// Per-bar count n[i]; a count not above 0 (or NaN) reads the current bar.
DataExt Ref(const DataExt& x, const DataExt& n);
