#pragma once

#include "strategy/util/strategy.h"

// 1 where the condition holds, 0 elsewhere, one entry per condition element;
// the width is the truncated number, or 1 when it is not a single number.
DataExt VertLine(const DataExt& condition, const DataExt& width);
