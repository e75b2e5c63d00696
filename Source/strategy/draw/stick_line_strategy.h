#pragma once

#include "strategy/util/strategy.h"

// A stick from price 1 to price 2 with its width and attribute where the
// condition holds; (-100000, -100000, 0, 0) elsewhere.
DataExt StickLine(const DataExt& condition, const DataExt& price1, const DataExt& price2,
                  const DataExt& width, const DataExt& attribute);
