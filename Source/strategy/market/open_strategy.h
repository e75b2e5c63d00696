#pragma once

#include <map>
#include <string>

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// The "o" field of one text row (falls back to "open" when "o" is empty).
double OpenItem(const std::map<std::string, std::string>& row);
// One value per bar row.
DataExt Open(const BarData& bars);
