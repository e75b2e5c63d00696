#pragma once

#include "strategy/util/strategy.h"

// Segments between price points: a bar where `start` holds (while waiting
// for a start) takes `start_price`, the next later bar where `end` holds takes
// `end_price` and waits again; every other bar is the invalid value. `type`
// is the expand argument, kept in draw_type.
DataExt DrawLine(const DataExt& start, const DataExt& start_price, const DataExt& end,
                 const DataExt& end_price, int type);
