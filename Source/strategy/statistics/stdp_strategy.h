#pragma once

#include "strategy/util/strategy.h"

// STDP(X,N): population standard deviation over the last N bars, with the
// gap rules of STD. N <= 1 gives only invalid values.
DataExt Stdp(const DataExt& x, unsigned long n);
// Per-bar N: shortened windows near the first valid bar; a period below 1
// gives the invalid value.
DataExt Stdp(const DataExt& x, const DataExt& n);
