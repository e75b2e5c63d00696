#pragma once

#include "strategy/util/strategy.h"

// An icon at the bars where the condition holds; positions as DRAWTEXT, the
// truncated icon number in draw_type.
DataExt DrawIcon(const DataExt& condition, const DataExt& price, const DataExt& icon,
                 const DataExt& offset);
