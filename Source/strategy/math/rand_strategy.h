#pragma once

#include "strategy/util/strategy.h"

// Random whole numbers from the process's standard generator (never seeded
// here, so a process repeats the same sequence from its start): one draw per
// position, rand() % trunc32(bound[i]) + 1, which lies in 1..bound[i] for a
// positive bound. Invalid where the bound is invalid, NaN, outside the 32-bit
// range or truncates to 0.
DataExt Rand(const DataExt& bound);
// One draw with a single bound, repeated at every bar row of the run.
DataExt Rand(const DataExt& bound, Environment& env);
