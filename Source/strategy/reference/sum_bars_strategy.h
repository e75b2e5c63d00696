#pragma once

#include "strategy/util/strategy.h"

// Number of bars, walking back from bar i, whose valid values add up to at
// least a[i] (bar i counts as 1, skipped invalid bars count too); i when the
// walk passes the first bar without reaching a[i].
DataExt SumBars(const DataExt& x, const DataExt& a);

// A single-number target is repeated once per value of X.
