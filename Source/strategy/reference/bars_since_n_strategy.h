#pragma once

#include "strategy/util/strategy.h"

// Bars since X first held within the last n bars, 0 when it did not.
DataExt BarsSinceN(const DataExt& x, unsigned long n);
// Bars since X first held within the last n[i] bars; the bar index when it
// did not.
DataExt BarsSinceN(const DataExt& x, const DataExt& n);
