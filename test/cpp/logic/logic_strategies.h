#pragma once

// Every logic strategy header and the shared test helpers, for the logic
// tests.

#include "strategy/logic/between_strategy.h"
#include "strategy/logic/cross_strategy.h"
#include "strategy/logic/down_nday_strategy.h"
#include "strategy/logic/every_strategy.h"
#include "strategy/logic/exist_strategy.h"
#include "strategy/logic/if_strategy.h"
#include "strategy/logic/ifn_strategy.h"
#include "strategy/logic/last_strategy.h"
#include "strategy/logic/long_cross_strategy.h"
#include "strategy/logic/nday_strategy.h"
#include "strategy/logic/not_strategy.h"
#include "strategy/logic/range_strategy.h"
#include "strategy/logic/up_nday_strategy.h"
#include "strategy/logic/value_when_strategy.h"
#include "strategy_test_util.h"
