#pragma once

#include "strategy/util/strategy.h"

// 1 where x is false (at or below 0, NaN, or a gap after the first valid
// bar), else 0; invalid before the first valid bar.
DataExt Not(const DataExt& x);
