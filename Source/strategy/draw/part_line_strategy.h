#pragma once

#include "strategy/util/strategy.h"

// As POLYLINE, under its own record name.
DataExt PartLine(const DataExt& condition, const DataExt& price);
