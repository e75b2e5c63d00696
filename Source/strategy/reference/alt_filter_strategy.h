#pragma once

#include "strategy/util/strategy.h"

// Alternates two signals: once A (a > 0) held without B on the previous bar,
// the output is 1.0 only where A stops holding, and the other way round; where
// both or neither held, 1.0 where either holds now. Bars before the first bar
// where both inputs are valid are invalid; bars beyond B keep 0.0.
DataExt AltFilter(const DataExt& a, const DataExt& b);
