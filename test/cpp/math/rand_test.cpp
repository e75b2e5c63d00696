// RAND: the process's standard generator, one draw per usable position,
// never a modulus by 0.

#include <cstdlib>

#include "math_strategies.h"

namespace {

TEST(Rand, SeriesBoundsInRangeAndUnusableBoundsInvalid) {
    const std::vector<double> v = Rand(Series({6, 0, 0.5, INV, kNaN, 1e10, 1, -6})).m_raw_data;
  ASSERT_EQ(v.size(), 8u);
  for (size_t i : {0, 7}) {  // a negative modulus keeps the non-negative remainder
    EXPECT_GE(v[i], 1);
    EXPECT_LE(v[i], 6);
  }
  for (size_t i = 1; i <= 5; ++i) EXPECT_EQ(v[i], INV) << "position " << i;
  EXPECT_EQ(v[6], 1);
}

TEST(Rand, DrawsFromTheStandardGeneratorOncePerUsablePosition) {
  std::srand(77);
  const double first = std::rand() % 1000 + 1;
  const double second = std::rand() % 10 + 1;
  std::srand(77);
  EXPECT_SERIES(Rand(Series({1000, INV, 10})).m_raw_data, ({first, INV, second}));
}

TEST(Rand, NumberBoundDrawsOnceForEveryBar) {
  Environment env = EnvWithCloses({1, 1, 1});
  std::srand(3);
  const double expected = std::rand() % 6 + 1;
  std::srand(3);
  EXPECT_SERIES(RandStrategy().Exec({Number(6)}, env, nullptr).m_raw_data,
                ({expected, expected, expected}));
  EXPECT_SERIES(Rand(Number(0), env).m_raw_data, ({INV, INV, INV}));
}

}  // namespace
