#pragma once

#include "strategy/util/strategy.h"

// Absolute value per bar; the invalid value stays invalid (it is not turned positive).
DataExt Abs(const DataExt& x);
