#pragma once

#include "strategy/util/strategy.h"

// 1 where x was true on at least one of the last n bars (none of them before
// the first valid bar), else 0; invalid before the first valid bar. Also
// reached as ANY.
DataExt Exist(const DataExt& x, unsigned long n);
// Per-bar window n[i], starting at max(first valid bar, trunc32(i - n[i] + 1)):
// 1 where x is true somewhere in it. Over the shorter of x and n.
DataExt Exist(const DataExt& x, const DataExt& n);
