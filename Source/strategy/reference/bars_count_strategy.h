#pragma once

#include "strategy/util/strategy.h"

// Bars since the first valid bar of X (0 there).
DataExt BarsCount(const DataExt& x);
