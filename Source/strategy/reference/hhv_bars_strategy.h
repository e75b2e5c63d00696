#pragma once

#include "strategy/util/strategy.h"

// Bars since the highest value of the last n bars (n = 0: since the first
// valid bar); the oldest of equal highs is reported.
DataExt HhvBars(const DataExt& x, unsigned long n);
// The same over the last n[i] bars at each bar.
DataExt HhvBars(const DataExt& x, const DataExt& n);
