#pragma once

#include "strategy/util/strategy.h"

// Negation per bar (0 becomes -0.0).
DataExt Reverse(const DataExt& x);
