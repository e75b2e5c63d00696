#pragma once

#include "strategy/util/strategy.h"

// VAR(X,N): sample variance over the last N bars. From the first valid bar on
// a gap counts as 0.0 and the bar still gets a value. N <= 1 gives only
// invalid values.
DataExt Var(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a window of one bar
// or a period below 1 gives the invalid value.
DataExt Var(const DataExt& x, const DataExt& n);
