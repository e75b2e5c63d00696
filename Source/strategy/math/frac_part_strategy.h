#pragma once

#include "strategy/util/strategy.h"

// Fractional part with the sign of the value: -3.7 gives -0.7.
DataExt FracPart(const DataExt& x);
