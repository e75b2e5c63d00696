#pragma once

#include "strategy/util/strategy.h"

// One candle per bar from four price series, values copied as they are.
DataExt DrawKLine(const DataExt& high, const DataExt& open, const DataExt& low,
                  const DataExt& close);
