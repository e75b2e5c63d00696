#pragma once

#include "strategy/util/strategy.h"

// PERIOD: the chart period in minutes, repeated once per bar.
