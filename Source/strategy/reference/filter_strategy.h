#pragma once

#include "strategy/util/strategy.h"

// Signals (x[i] > 0) as 1.0, each followed by n bars forced to 0.0 (n cut
// toward zero); other bars from the first valid one are 0.0.
DataExt Filter(const DataExt& x, double n);
// Per-bar n[i], read at each signal. Bars beyond n keep 0.0.
DataExt Filter(const DataExt& x, const DataExt& n);
