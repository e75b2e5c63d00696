#pragma once

#include "strategy/util/strategy.h"

// IF with the branches exchanged: b[i] where k[i] is true, a[i] where it is
// false; invalid where k[i] is invalid. Over the shortest length.
DataExt Ifn(const DataExt& k, const DataExt& a, const DataExt& b);
// Fixed branch values; the result has k's length.
DataExt Ifn(const DataExt& k, double a, double b);
