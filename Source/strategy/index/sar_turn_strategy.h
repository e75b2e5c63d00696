#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// SARTURN(N,S,M): the SAR computation reporting 1 at the bars where the
// position turns long, -1 where it turns short and 0 elsewhere; the warm-up
// bars are invalid.
DataExt SarTurn(const BarData& bars, unsigned long n, unsigned long s, unsigned long m);

// All three arguments must be numbers.
