#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// DATE: years since 1900 * 10000 + month * 100 + day of every bar with a time
// (2024-03-15 gives 1240315).
DataExt Date(const BarData& bars);
