#pragma once

#include "strategy/util/strategy.h"

// 1 where x has risen (x[i] > x[i-1]) on at least n consecutive bars ending
// at i, else 0; the result has x's length and bar 0 never counts as a rise.
// n is compared as a double (2.5 needs 3 rises; n <= 0 gives 1 everywhere).
// The invalid value is compared as a plain number.
DataExt UpNDay(const DataExt& x, double n);
// Per-bar count n[i]; positions beyond the end of n stay 0.
DataExt UpNDay(const DataExt& x, const DataExt& n);
