#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// WEEKDAY: Monday 1 to Sunday 7 for every bar with a time.
DataExt Weekday(const BarData& bars);
