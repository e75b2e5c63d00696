#pragma once

#include "strategy/util/strategy.h"

// The candles of DRAWKLINE, drawn as bars.
DataExt DrawBarLine(const DataExt& high, const DataExt& open, const DataExt& low,
                    const DataExt& close);
