#pragma once

#include "strategy/util/strategy.h"

// 1 for positive, -1 for negative, 0 for zero and NaN. Also reached as SGN.
DataExt Sign(const DataExt& x);
