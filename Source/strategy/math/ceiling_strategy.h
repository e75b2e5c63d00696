#pragma once

#include "strategy/util/strategy.h"

// Smallest whole number not below each value.
DataExt Ceiling(const DataExt& x);
