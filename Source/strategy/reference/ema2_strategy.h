#pragma once

#include "strategy/util/strategy.h"

// The linearly weighted average under a second name: same values as Wma.
DataExt Ema2(const DataExt& x, unsigned long n);
DataExt Ema2(const DataExt& x, const DataExt& n);
