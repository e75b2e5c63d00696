#pragma once

#include "strategy/util/strategy.h"

// Largest whole number not above each value.
DataExt Floor(const DataExt& x);
