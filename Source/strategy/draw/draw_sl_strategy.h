#pragma once

#include "strategy/util/strategy.h"

// Sloped segments: where the condition holds, (price, slope, length,
// direction) of that bar with length and direction truncated to integers;
// elsewhere (-100000, -100000, 0, 0).
DataExt DrawSL(const DataExt& condition, const DataExt& price, const DataExt& slope,
               const DataExt& length, const DataExt& direction);
