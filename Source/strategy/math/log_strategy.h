#pragma once

#include "strategy/util/strategy.h"

// Base-10 logarithm; values at or below 0 give the invalid value.
DataExt Log(const DataExt& x);
