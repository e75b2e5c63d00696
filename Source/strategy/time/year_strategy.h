#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// YEAR: the four-digit year of every bar with a time.
DataExt Year(const BarData& bars);
