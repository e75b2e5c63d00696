#pragma once

#include "strategy/util/strategy.h"

// Whole part, truncated toward zero: -3.7 gives -3.
DataExt IntPart(const DataExt& x);
