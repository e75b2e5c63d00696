#pragma once

#include "strategy/util/strategy.h"

// The valid values of X, in their order, moved to the right end of a series
// as long as X; the invalid values gather at the left end.
DataExt AlignRight(const DataExt& x);
