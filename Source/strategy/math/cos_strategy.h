#pragma once

#include "strategy/util/strategy.h"

// Cosine per bar (radians).
DataExt Cos(const DataExt& x);
