#pragma once

#include "strategy/util/strategy.h"

// 1 where x was true on each of the last n bars (none of them before the
// first valid bar), else 0; invalid before the first valid bar. Also reached
// as ALL.
DataExt Every(const DataExt& x, unsigned long n);
// Per-bar window n[i], starting at max(first valid bar, trunc32(i - n[i] + 1)):
// 1 where the run of true values ending at i, counted inside the window,
// equals n[i]. Over the shorter of x and n.
DataExt Every(const DataExt& x, const DataExt& n);
