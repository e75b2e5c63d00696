#pragma once

#include "strategy/util/strategy.h"

// Dynamic average with weight a: out = prev * (1 - a) + x * a, starting with x
// at the first valid bar. A weight outside (0, 1), or invalid, passes x through
// unchanged; a NaN weight is used as it is.
DataExt Dma(const DataExt& x, double a);
// Per-bar weight a[i], tested and applied bar by bar.
DataExt Dma(const DataExt& x, const DataExt& a);
