#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// MONTH: 1 to 12 for every bar with a time.
DataExt Month(const BarData& bars);
