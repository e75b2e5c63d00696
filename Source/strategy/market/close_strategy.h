#pragma once

#include <map>
#include <string>

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// The "c" field of one text row (falls back to "close" when "c" is empty).
double CloseItem(const std::map<std::string, std::string>& row);
// One value per bar row.
DataExt Close(const BarData& bars);
