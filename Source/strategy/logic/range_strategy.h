#pragma once

#include "strategy/util/strategy.h"

// 1 where b[i] < a[i] < c[i] (both strict, b the lower bound), 0 elsewhere,
// invalid where any input is invalid. The result has a's length: positions
// beyond the shortest input stay 0.
DataExt Range(const DataExt& a, const DataExt& b, const DataExt& c);
// Fixed bounds: every position is invalid when a bound is the invalid value.
DataExt Range(const DataExt& a, double b, double c);
