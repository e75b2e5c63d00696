#pragma once

#include "strategy/util/strategy.h"

// The number written with `decimals` decimals where the condition holds, the
// empty text elsewhere; the price is kept on every bar.
DataExt DrawNumber(const DataExt& condition, const DataExt& price, const DataExt& number,
                   int decimals);
