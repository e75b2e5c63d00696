#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// 1 at the first bar row, 2 at the last (also when it is the only one), 0
// between; no rows give the empty series.
DataExt BarStatus(const BarData& bars);
