#pragma once

#include "strategy/util/strategy.h"

// Lowest value of the last n bars; n = 0 means every bar since the first
// valid bar.
DataExt Llv(const DataExt& x, unsigned long n);
// Lowest value of the last n[i] bars at each bar.
DataExt Llv(const DataExt& x, const DataExt& n);
