#pragma once

#include "strategy/util/strategy.h"

// Arc cosine per bar; arguments outside [-1, 1] give NaN.
DataExt ACos(const DataExt& x);
