#pragma once

#include "strategy/util/strategy.h"

// Natural logarithm; values at or below 0 (the invalid value included) give the invalid value.
DataExt Ln(const DataExt& x);
