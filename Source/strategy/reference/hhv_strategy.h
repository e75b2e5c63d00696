#pragma once

#include "strategy/util/strategy.h"

// Highest value since the first valid bar.
DataExt Hhv(const DataExt& x);
// Highest value of the last n bars (a fractional n keeps ceil(n) bars); a
// period that is not positive means all history.
DataExt Hhv(const DataExt& x, double n);
// Highest value of the last n[i] bars at each bar.
DataExt Hhv(const DataExt& x, const DataExt& n);
