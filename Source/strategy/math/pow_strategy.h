#pragma once

#include "strategy/util/strategy.h"

// pow(a[i], b[i]) over the shorter length; invalid where either is invalid.
// Domain errors (a negative base with a fractional exponent) give NaN.
DataExt Pow(const DataExt& a, const DataExt& b);
