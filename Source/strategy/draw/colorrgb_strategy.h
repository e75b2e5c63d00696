#pragma once

#include "strategy/util/strategy.h"

// The colour text COLORRGB(r,g,b) of three single numbers, each truncated
// to a 32-bit integer (not limited to 0..255); the empty value otherwise.
DataExt ColorRGB(const DataExt& red, const DataExt& green, const DataExt& blue);
