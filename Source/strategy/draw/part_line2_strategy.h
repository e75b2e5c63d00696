#pragma once

#include "strategy/util/strategy.h"

// The price on every bar, coloured by the first pair (condition at 2k,
// colour text at 2k+1) whose condition holds there; the empty colour when
// none does. A trailing condition without a colour is not a pair.
DataExt PartLine2(const DataExt& price, const std::vector<DataExt>& pairs);
