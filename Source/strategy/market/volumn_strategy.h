#pragma once

#include <map>
#include <string>

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// The "v" field of one text row (falls back to "vol" when "v" is empty).
double VolumnItem(const std::map<std::string, std::string>& row);
// One value per bar row.
DataExt Volumn(const BarData& bars);
