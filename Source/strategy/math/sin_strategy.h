#pragma once

#include "strategy/util/strategy.h"

// Sine per bar (radians).
DataExt Sin(const DataExt& x);
