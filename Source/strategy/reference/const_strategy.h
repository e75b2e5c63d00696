#pragma once

#include "strategy/util/strategy.h"

// The last value of X at every bar (empty for an empty X).
DataExt Const(const DataExt& x);
