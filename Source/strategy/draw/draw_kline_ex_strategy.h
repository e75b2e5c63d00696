#pragma once

#include "strategy/util/strategy.h"

// Candles only where the condition holds; elsewhere a candle of four
// invalid values.
DataExt DrawKLineEx(const DataExt& condition, const DataExt& high, const DataExt& open,
                    const DataExt& low, const DataExt& close);
