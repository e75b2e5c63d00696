#pragma once

#include "strategy/util/strategy.h"

// Arc sine per bar; arguments outside [-1, 1] give NaN.
DataExt ASin(const DataExt& x);
