#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// 1 at the last bar row, 0 before it; no rows give the empty series.
DataExt IsLastBar(const BarData& bars);
