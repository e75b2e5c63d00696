#pragma once

#include "strategy/util/strategy.h"

// How many bars back each value has stayed the highest: the bars walked from
// the previous one until a strictly greater value, or the bar index when there is
// none (invalid bars give the invalid value).
DataExt TopRange(const DataExt& x);
