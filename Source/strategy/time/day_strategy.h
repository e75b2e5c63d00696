#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// DAY: the day of the month, 1 to 31, for every bar with a time.
DataExt Day(const BarData& bars);
