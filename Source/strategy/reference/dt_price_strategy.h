#pragma once

#include "strategy/util/strategy.h"

// Lower price limit x - x * r (no rounding to a price tick).
DataExt DtPrice(const DataExt& x, double r);
DataExt DtPrice(const DataExt& x, const DataExt& r);
