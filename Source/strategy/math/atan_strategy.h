#pragma once

#include "strategy/util/strategy.h"

// Arc tangent per bar.
DataExt ATan(const DataExt& x);
