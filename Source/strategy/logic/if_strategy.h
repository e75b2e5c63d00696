#pragma once

#include "strategy/util/strategy.h"

// a[i] where k[i] is true, b[i] where it is false, copied unchanged (an
// invalid branch value passes through); invalid where k[i] is invalid. Over
// the shortest length. Also reached as IFF.
DataExt If(const DataExt& k, const DataExt& a, const DataExt& b);
// Fixed branch values; the result has k's length.
DataExt If(const DataExt& k, double a, double b);
