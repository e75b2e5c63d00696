#pragma once

#include "strategy/util/strategy.h"

// Bars since X last held (0 where it holds).
DataExt BarsLast(const DataExt& x);
