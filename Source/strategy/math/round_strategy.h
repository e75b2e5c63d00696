#pragma once

#include "strategy/util/strategy.h"

// Nearest whole number, halves away from zero: 2.5 gives 3, -2.5 gives -3.
DataExt Round(const DataExt& x);
