#pragma once

#include "strategy/util/strategy.h"

// Square root; negative values (the invalid value included) give the invalid value.
DataExt Sqrt(const DataExt& x);
