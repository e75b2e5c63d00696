#pragma once

#include "strategy/util/strategy.h"

// DEVSQ(X,N): sum of the squared deviations from the mean over the last N
// bars, gaps counted as 0.0. N = 0 is an empty window and gives 0.0.
DataExt DevSq(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives 0.0.
DataExt DevSq(const DataExt& x, const DataExt& n);
