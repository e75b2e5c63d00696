#pragma once

#include "strategy/util/strategy.h"

// x[i] where k[i] is true, otherwise the previous output (x[0] at bar 0,
// which has none); invalid before the first valid bar of k, so an output
// still invalid when k first turns usable stays invalid until k is true.
// Over the shorter of k and x.
DataExt ValueWhen(const DataExt& k, const DataExt& x);
