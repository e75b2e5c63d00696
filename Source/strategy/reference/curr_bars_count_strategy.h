#pragma once

#include "strategy/util/strategy.h"

// Bars from each bar to the last one (0 at the last bar).
DataExt CurrBarsCount(const DataExt& x);
