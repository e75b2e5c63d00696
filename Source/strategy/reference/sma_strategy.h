#pragma once

#include "strategy/util/strategy.h"

// Weighted recursive average: e = e * (n - m) / n + x * m / n, seeded with the
// first valid value; invalid inputs give invalid bars and leave e unchanged.
DataExt Sma(const DataExt& x, const DataExt& n, const DataExt& m);

// Single-number arguments are repeated once per bar of the run first.
