#pragma once

#include "strategy/util/strategy.h"

// Bars since the lowest value of the last n bars (n = 0: since the first
// valid bar). Among equal lows the window of n bars reports the newest, the
// running form (n = 0) the oldest.
DataExt LlvBars(const DataExt& x, unsigned long n);
// The same over the last n[i] bars at each bar; the oldest of equal lows.
DataExt LlvBars(const DataExt& x, const DataExt& n);
