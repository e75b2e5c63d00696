#pragma once

#include "strategy/util/strategy.h"

// 1.0 at every bar from which a signal (x[i] > 0) lies fewer than n bars
// ahead: a signal at bar i marks bars i - m + 1..i, m being n rounded up to an
// integer (at least 1). Other bars from the first valid one are 0.0.
DataExt BackSet(const DataExt& x, double n);
// Per-bar n[i]; a NaN signal counts as true. Bars beyond n keep 0.0.
DataExt BackSet(const DataExt& x, const DataExt& n);
