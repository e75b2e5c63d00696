#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// TIME: hour * 10000 + minute * 100 + second (09:30:05 gives 93005) for every
// bar with a time.
DataExt Time(const BarData& bars);

// Empty on daily or longer bars (period of 1440 minutes or more), where the
// time of day carries no meaning.
