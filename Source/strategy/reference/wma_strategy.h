#pragma once

#include "strategy/util/strategy.h"

// Linearly weighted average, weights 1..n from the oldest bar of the window to
// the newest. Invalid values add nothing but keep their weight in the divisor;
// an empty window (n = 0, or a per-bar period below 1) gives NaN.
DataExt Wma(const DataExt& x, unsigned long n);
// Per-bar period: the window x[max(f, i - n[i] + 1)..i] is weighted from 1.
DataExt Wma(const DataExt& x, const DataExt& n);
