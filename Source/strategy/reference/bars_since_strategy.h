#pragma once

#include "strategy/util/strategy.h"

// Bars since X first held (0 until then).
DataExt BarsSince(const DataExt& x);
