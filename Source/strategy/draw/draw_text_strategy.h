#pragma once

#include "strategy/util/strategy.h"

// A text at the bars where the condition holds; price and offset may be
// single numbers (the same at every bar) or series. An empty `offset` value
// means offset 0.
DataExt DrawText(const DataExt& condition, const DataExt& price, const DataExt& text,
                 const DataExt& offset);
