#pragma once

#include "strategy/util/strategy.h"

// Rank of each value among the earlier bars of its window of n bars, 1 being
// the highest (invalid bars give the invalid value).
DataExt Hod(const DataExt& x, unsigned long n);
// The same with a window of n[i] bars at each bar.
DataExt Hod(const DataExt& x, const DataExt& n);
