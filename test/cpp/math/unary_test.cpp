// The one-argument math functions: domain edges, the invalid value, NaN and
// infinities. Expected values by hand (trigonometric ones at known angles).

#include <cmath>

#include "math_strategies.h"

namespace {

const double kPi = 3.14159265358979323846;

struct UnaryCase {
  const char* name;
  DataExt (*function)(const DataExt&);
  std::vector<double> input;
  std::vector<double> expected;
};

const UnaryCase kUnaryCases[] = {
    // The invalid value is never turned positive.
    {"ABS", Abs, {-3, 0, INV, 2.5, kNaN, -kInf}, {3, 0, INV, 2.5, kNaN, kInf}},
    {"ACOS", ACos, {1, -1, INV, 2}, {0, kPi, INV, kNaN}},
    {"ASIN", ASin, {0, 1, INV, -2}, {0, kPi / 2, INV, kNaN}},
    {"ATAN", ATan, {1, INV, kInf}, {kPi / 4, INV, kPi / 2}},
    {"CEILING", Ceiling, {1.2, -1.2, 3, INV}, {2, -1, 3, INV}},
    {"FLOOR", Floor, {1.8, -1.2, 3, INV}, {1, -2, 3, INV}},
    {"COS", Cos, {0, kPi, INV}, {1, -1, INV}},
    {"SIN", Sin, {0, kPi / 2, INV}, {0, 1, INV}},
    {"TAN", Tan, {0, kPi / 4, INV}, {0, 1, INV}},
    {"EXP", Exp, {0, 1, INV, 1000}, {1, 2.718281828459045, INV, kInf}},
    {"ROUND halves away from zero", Round, {2.5, -2.5, 2.4, INV}, {3, -3, 2, INV}},
    {"INTPART truncates", IntPart, {-3.7, 3.7, -3, INV, kNaN}, {-3, 3, -3, INV, kNaN}},
    {"FRACPART keeps the sign", FracPart, {-3.7, 3.7, 5, INV}, {-0.7, 0.7, 0, INV}},
    {"REVERSE", Reverse, {1, -2, INV, kNaN}, {-1, 2, INV, kNaN}},
    {"SIGN", Sign, {0, -2, 5, kNaN, INV}, {0, -1, 1, 0, INV}},
    // The domain test holds at every position, and NaN passes it.
    {"LN", Ln, {0, -1, INV, std::exp(1.0), 1, kNaN}, {INV, INV, INV, 1, 0, kNaN}},
    {"LOG", Log, {0, 100, 0.001, -5, INV}, {INV, 2, -3, INV, INV}},
    {"SQRT", Sqrt, {-0.5, 0, 4, INV, kNaN, 2.25}, {INV, 0, 2, INV, kNaN, 1.5}},
};

TEST(MathUnary, ValuesPerFunction) {
  for (const UnaryCase& c : kUnaryCases) {
    SCOPED_TRACE(c.name);
    EXPECT_SERIES_NEAR(c.function(Series(c.input)).m_raw_data, (c.expected), 1e-12);
  }
}

TEST(MathUnary, ExecWidensANumberToTheBars) {
  Environment env = EnvWithCloses({1, 2, 3, 4});
  EXPECT_SERIES(AbsStrategy().Exec({Number(-3)}, env, nullptr).m_raw_data, ({3, 3, 3, 3}));
  EXPECT_SERIES(SqrtStrategy().Exec({Number(-1)}, env, nullptr).m_raw_data, ({INV, INV, INV, INV}));
  EXPECT_TRUE(AbsStrategy().Exec({DataExt("x")}, env, nullptr).m_raw_data.empty());
}

}  // namespace
