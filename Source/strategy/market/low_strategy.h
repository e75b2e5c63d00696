#pragma once

#include <map>
#include <string>

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// The "l" field of one text row (falls back to "low" when "l" is empty).
double LowItem(const std::map<std::string, std::string>& row);
// One value per bar row.
DataExt Low(const BarData& bars);
