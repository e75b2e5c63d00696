#pragma once

#include "strategy/util/strategy.h"

// Upper price limit x * r + x (no rounding to a price tick).
DataExt ZtPrice(const DataExt& x, double r);
DataExt ZtPrice(const DataExt& x, const DataExt& r);
