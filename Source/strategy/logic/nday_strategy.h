#pragma once

#include "strategy/util/strategy.h"

// 1 where x[i] > y[i] has held on at least n consecutive bars ending at i
// (bar 0 counts), else 0. The result has x's length; positions beyond the
// end of y stay 0. n is compared as a double.
DataExt NDay(const DataExt& x, const DataExt& y, double n);
// Per-bar count n[i]; positions beyond the end of y or n stay 0.
DataExt NDay(const DataExt& x, const DataExt& y, const DataExt& n);
