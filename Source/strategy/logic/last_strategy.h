#pragma once

#include "strategy/util/strategy.h"

// The number of consecutive true bars ending at i (0 where x[i] is false);
// invalid before the first valid bar.
DataExt Last(const DataExt& x);
