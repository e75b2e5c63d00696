#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// HOUR: the hour plus one, 1 to 24 (09:30 gives 10), for every bar with a time.
DataExt Hour(const BarData& bars);
