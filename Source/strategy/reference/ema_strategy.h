#pragma once

#include "strategy/util/strategy.h"

// Exponential average with a per-bar period n[i]: seeded with the first valid
// value; an invalid input gives an invalid bar and leaves the average as it was.
DataExt Ema(const DataExt& x, const DataExt& n);

// A single-number X or N is repeated once per bar of the run first.
