#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// MINUTE: 0 to 59 for every bar with a time.
DataExt Minute(const BarData& bars);

// Empty on daily or longer bars (period of 1440 minutes or more).
