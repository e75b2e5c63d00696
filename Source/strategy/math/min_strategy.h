#pragma once

#include "strategy/util/strategy.h"

// The smaller of a[i] and b[i] over the shorter length; invalid where either
// is invalid. When a[i] < b[i] fails (equal values, NaN) b[i] is taken.
DataExt Min(const DataExt& a, const DataExt& b);
