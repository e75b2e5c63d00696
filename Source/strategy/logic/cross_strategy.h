#pragma once

#include "strategy/util/strategy.h"

// 1 where a crosses above b: b[i-1] > a[i-1] and a[i] > b[i], both strict.
// Over the shorter length; invalid before the first bar where both inputs
// are valid, and at that bar too when it is bar 0 (there is no previous bar);
// 0 at that bar otherwise.
DataExt Cross(const DataExt& a, const DataExt& b);
