#pragma once

#include "strategy/util/strategy.h"

// How many bars back each value has stayed the lowest: the bars walked from
// the previous one until a strictly smaller value, or the bar index when there is
// none (invalid bars give the invalid value).
DataExt LowRange(const DataExt& x);
