#pragma once

#include "strategy/util/strategy.h"

// 1 where a reaches b (a[i] >= b[i]) after having stayed below it for at
// least n consecutive bars, else 0. Over the shorter length; invalid before
// the first bar where both are valid and for the n bars from it (the
// below-streak is already counted there). A NaN comparison counts as not
// below: it ends the streak.
DataExt LongCross(const DataExt& a, const DataExt& b, unsigned long n);
// Per-bar streak length: 1 where a[i] > b[i] (strict) and a stayed below b on
// at least n[i] consecutive bars ending at i-1, counted no further back than
// trunc32(i - n[i]) and the first valid bar. No warm-up; 0 at positions
// beyond the end of n.
DataExt LongCross(const DataExt& a, const DataExt& b, const DataExt& n);
