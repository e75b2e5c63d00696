#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// SAR(N,S,M): parabolic stop and reverse after N warm-up bars, with an
// acceleration step of S and a limit of M hundredths. Empty when there are no
// more bars than N; only invalid values and 0 when N is 0 or S exceeds M.
DataExt Sar(const BarData& bars, unsigned long n, unsigned long s, unsigned long m);

// All three arguments must be numbers.
