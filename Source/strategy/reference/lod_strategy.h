#pragma once

#include "strategy/util/strategy.h"

// Rank of each value among the earlier bars of its window of n bars, 1 being
// the lowest (invalid bars give the invalid value).
DataExt Lod(const DataExt& x, unsigned long n);
// The same with a window of n[i] bars at each bar.
DataExt Lod(const DataExt& x, const DataExt& n);
