#pragma once

#include "strategy/util/strategy.h"

// The t-th highest value
// of the m bars that end n bars back; the empty series when m < t.
DataExt FindHigh(const DataExt& x, unsigned long n, unsigned long m, unsigned long t);
// The same with n[i], m[i] and t[i] read at each bar.
DataExt FindHigh(const DataExt& x, const DataExt& n, const DataExt& m, const DataExt& t);
