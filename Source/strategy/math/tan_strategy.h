#pragma once

#include "strategy/util/strategy.h"

// Tangent per bar (radians).
DataExt Tan(const DataExt& x);
