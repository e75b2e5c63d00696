#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// BARPOS: the bar's index, 0 for the oldest bar; one value per bar whether or
// not it has a time.
DataExt BarPos(const BarData& bars);
