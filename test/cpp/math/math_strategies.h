#pragma once

// Every math strategy header, the shared test helpers and a run context with
// given closes, for the math tests.

#include "strategy/math/abs_strategy.h"
#include "strategy/math/acos_strategy.h"
#include "strategy/math/asin_strategy.h"
#include "strategy/math/atan_strategy.h"
#include "strategy/math/ceiling_strategy.h"
#include "strategy/math/cos_strategy.h"
#include "strategy/math/exp_strategy.h"
#include "strategy/math/floor_strategy.h"
#include "strategy/math/frac_part_strategy.h"
#include "strategy/math/int_part_strategy.h"
#include "strategy/math/ln_strategy.h"
#include "strategy/math/log_strategy.h"
#include "strategy/math/max_strategy.h"
#include "strategy/math/min_strategy.h"
#include "strategy/math/mod_strategy.h"
#include "strategy/math/pow_strategy.h"
#include "strategy/math/rand_strategy.h"
#include "strategy/math/reverse_strategy.h"
#include "strategy/math/round2_strategy.h"
#include "strategy/math/round_strategy.h"
#include "strategy/math/sign_strategy.h"
#include "strategy/math/sin_strategy.h"
#include "strategy/math/sqrt_strategy.h"
#include "strategy/math/tan_strategy.h"
#include "strategy_test_util.h"

