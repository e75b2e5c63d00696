// MAX, MIN, POW and MOD: values, the shorter-length rule and invalid
// positions. Expected values by hand.

#include "math_strategies.h"

namespace {

struct BinaryCase {
  const char* name;
  DataExt (*function)(const DataExt&, const DataExt&);
  std::vector<double> a;
  std::vector<double> b;
  std::vector<double> expected;
};

TEST(MathBinary, ValuesPerFunction) {
  const BinaryCase cases[] = {
      {"MAX", Max, {1, 5, INV, 3, 4}, {2, 2, 2, INV, 4}, {2, 5, INV, INV, 4}},
      // a > b (a < b) fails for NaN on either side, so b is taken.
      {"MAX nan", Max, {kNaN, 1}, {1, kNaN}, {1, kNaN}},
      {"MAX shorter b", Max, {1, 2, 3}, {0}, {1}},
      {"MIN", Min, {1, 5, INV, 3, 4}, {2, 2, 2, INV, 4}, {1, 2, INV, INV, 4}},
      {"MIN nan", Min, {kNaN, 1}, {1, kNaN}, {1, kNaN}},
      {"POW", Pow, {2, INV, -8, 4, 2, 0}, {3, 2, 1.0 / 3, 0.5, INV, 0}, {8, INV, kNaN, 2, INV, 1}},
      {"POW shorter a", Pow, {3}, {2, 2}, {9}},
      // Truncated operands, sign of the dividend; a divisor truncating to 0
      // and operands that are NaN or beyond 32 bits are invalid.
      {"MOD",
       Mod,
       {7, -7, 7.9, 7, 7, INV, 3e9, kNaN, 7, 7, -2147483648.0},
       {3, 3, 2.5, 0, 0.5, 3, 2, 2, -3, INV, -1},
       {1, -1, 1, INV, INV, INV, INV, INV, 1, INV, 0}},
  };
  for (const BinaryCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_SERIES(c.function(Series(c.a), Series(c.b)).m_raw_data, (c.expected));
  }
}

TEST(MathBinary, ModByOneNumber) {
  const std::pair<double, std::vector<double>> cases[] = {
      // dividends 7, INV, -7, 2.5
      {-3, {1, INV, -1, 2}},        {2.9, {1, INV, -1, 0}},      {0.5, {INV, INV, INV, INV}},
      {INV, {INV, INV, INV, INV}},  {kNaN, {INV, INV, INV, INV}}, {1e300, {INV, INV, INV, INV}},
  };
  for (const auto& [divisor, expected] : cases) {
    SCOPED_TRACE(divisor);
    EXPECT_SERIES(Mod(Series({7, INV, -7, 2.5}), divisor).m_raw_data, (expected));
  }
}

TEST(MathBinary, ExecWidensNumbersForMaxMinPowOnly) {
  Environment env = EnvWithCloses({8, 12, 10});
  const DataExt close = Series({8, 12, 10});
  EXPECT_SERIES(MaxStrategy().Exec({close, Number(10)}, env, nullptr).m_raw_data, ({10, 12, 10}));
  EXPECT_SERIES(MinStrategy().Exec({Number(10), close}, env, nullptr).m_raw_data, ({8, 10, 10}));
  EXPECT_SERIES(PowStrategy().Exec({Number(2), Number(3)}, env, nullptr).m_raw_data, ({8, 8, 8}));
  EXPECT_SERIES(ModStrategy().Exec({close, Number(5)}, env, nullptr).m_raw_data, ({3, 2, 0}));
  EXPECT_SERIES(ModStrategy().Exec({close, Series({5})}, env, nullptr).m_raw_data, ({3}));
  EXPECT_TRUE(ModStrategy().Exec({Number(7), Number(3)}, env, nullptr).m_raw_data.empty());
}

}  // namespace
