#pragma once

#include "strategy/util/strategy.h"

// The length of X on every bar.
DataExt TotalBarsCount(const DataExt& x);
