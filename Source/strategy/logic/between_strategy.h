#pragma once

#include "strategy/util/strategy.h"

// 1 where a[i] lies between b[i] and c[i], both ends included and in either
// order; 0 elsewhere; invalid where any input is invalid. Over the shortest
// length.
DataExt Between(const DataExt& a, const DataExt& b, const DataExt& c);
// Fixed bounds: every position is invalid when a bound is the invalid value.
DataExt Between(const DataExt& a, double b, double c);
