#pragma once

#include "strategy/util/strategy.h"

// Bars until X next holds after the current bar; the distance to the last
// bar where it never holds again.
DataExt BarsNext(const DataExt& x);
