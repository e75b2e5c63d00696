#pragma once

#include <map>
#include <string>

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// The "h" field of one text row (falls back to "high" when "h" is empty).
double HighItem(const std::map<std::string, std::string>& row);
// One value per bar row.
DataExt High(const BarData& bars);
