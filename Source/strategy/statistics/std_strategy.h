#pragma once

#include "strategy/util/strategy.h"

// STD(X,N): sample standard deviation over the last N bars. A bar whose X is
// invalid gives the invalid value; a gap inside the window is left out of the
// mean but takes part in the deviations as -100000.0. N <= 1 gives only
// invalid values.
DataExt Std(const DataExt& x, unsigned long n);
// Per-bar N: the window is shortened to the bars since the first valid one;
// a window of one bar gives the invalid value, a period below 1 gives 0.0.
DataExt Std(const DataExt& x, const DataExt& n);
