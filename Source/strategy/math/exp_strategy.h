#pragma once

#include "strategy/util/strategy.h"

// e to the power of each value; overflow gives infinity.
DataExt Exp(const DataExt& x);
