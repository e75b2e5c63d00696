#pragma once

#include "strategy/util/strategy.h"

// A line through the prices of the bars where the condition holds.
DataExt PolyLine(const DataExt& condition, const DataExt& price);
