// ROUND2: decimal rounding by repeated multiplication and division by 10.
// Hand-computed cases, and the shortcut for huge digit counts checked
// against the plain step-by-step definition.

#include <climits>
#include <cmath>
#include <random>

#include "math_strategies.h"

namespace {

TEST(Round2, ExecDispatch) {
  BarsEnv context(2);
  Environment& env = context.env;
  Round2Strategy round2;
  EXPECT_SERIES(round2.Exec({Series({1.5}), Number(-2)}, env, nullptr).m_raw_data, ({2}));
  EXPECT_TRUE(round2.Exec({Number(3.14159), Number(2)}, env, nullptr).m_raw_data.empty());
  EXPECT_TRUE(round2.Exec({Series({1.5}), DataExt("2")}, env, nullptr).m_raw_data.empty());
}

double NaiveRound2(double x, unsigned long n) {
  double whole = std::floor(x), fraction = x - whole;
  for (unsigned long k = 0; k < n; ++k) fraction *= 10.0;
  double r = std::floor(fraction + 0.5);
  for (unsigned long k = 0; k < n; ++k) r /= 10.0;
  return whole + r;
}

TEST(Round2, MatchesStepByStepDefinitionOverRandomValues) {
  std::mt19937_64 rng(20240611);
  std::uniform_real_distribution<double> value(-5000.0, 5000.0);
  for (unsigned long digits : {0, 1, 2, 3, 6, 15, 17, 25, 300, 320, 700}) {
    std::vector<double> xs, want;
    for (int i = 0; i < 300; ++i) {
      double x = i % 50 == 0 ? std::floor(value(rng)) : value(rng);
      if (i % 70 == 0) x = std::ldexp(1.0, -1000);  // ~600 steps to overflow
      xs.push_back(x);
      want.push_back(NaiveRound2(x, digits));
    }
    SCOPED_TRACE(digits);
    EXPECT_SERIES(Round2(Series(xs), digits).m_raw_data, (want));
  }
}

}  // namespace
