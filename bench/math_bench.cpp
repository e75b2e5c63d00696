// Math functions, each variant on its own.

#include <memory>

#include "bench_util.h"
#include "compiler/environment.h"
#include "strategy/math/abs_strategy.h"
#include "strategy/math/frac_part_strategy.h"
#include "strategy/math/ln_strategy.h"
#include "strategy/math/max_strategy.h"
#include "strategy/math/min_strategy.h"
#include "strategy/math/mod_strategy.h"
#include "strategy/math/pow_strategy.h"
#include "strategy/math/rand_strategy.h"
#include "strategy/math/round2_strategy.h"
#include "strategy/math/round_strategy.h"
#include "strategy/math/sin_strategy.h"
#include "strategy/math/sqrt_strategy.h"

namespace {

struct Inputs {
  DataExt prices{bench::RandomWalk(1, 5.0)};
  DataExt other_prices{bench::RandomWalk(2, 5.0)};
  DataExt digits{bench::RandomWholeNumbers(3, 1, 8)};  // small per-bar parameters
  Environment env;  // kBars rows: the length a single number widens to
  Inputs() { env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(bench::kBars)); }
};

const Inputs& D() {
  static const Inputs inputs;
  return inputs;
}

const bool kRegistered = bench::Register(
    "Math",
    {
        {"Abs", [] { return Abs(D().prices); }},
        {"Sqrt", [] { return Sqrt(D().prices); }},
        {"Ln", [] { return Ln(D().prices); }},
        {"Sin", [] { return Sin(D().prices); }},
        {"Round", [] { return Round(D().prices); }},
        {"FracPart", [] { return FracPart(D().prices); }},
        {"Max", [] { return Max(D().prices, D().other_prices); }},
        {"Min", [] { return Min(D().prices, D().other_prices); }},
        {"Pow", [] { return Pow(D().prices, D().other_prices); }},
        {"Mod/series", [] { return Mod(D().prices, D().digits); }},
        {"Mod/number", [] { return Mod(D().prices, 7.0); }},
        {"Round2/count", [] { return Round2(D().prices, 2ul); }},
        {"Round2/series", [] { return Round2(D().prices, D().digits); }},
        {"Rand/series", [] { return Rand(D().digits); }},
        {"Rand/number",
         [] {
           Environment env = D().env;
           return Rand(DataExt(6.0), env);
         }},
    });

}  // namespace
