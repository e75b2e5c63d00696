#pragma once

#include "strategy/util/strategy.h"

// Simple moving average over a constant window of n bars (running sum; n = 0
// gives the empty series).
DataExt Ma(const DataExt& x, unsigned long n);
// Per-bar window n[i], shortened to the bars since the first valid bar.
DataExt Ma(const DataExt& x, const DataExt& n);
