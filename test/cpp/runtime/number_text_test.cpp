// Number text: the output writer must give the bytes of std::to_string
// (printf "%f") for every double, and reading must follow atof.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "util/base64.h"
#include "util/util.h"

namespace {

std::string Fixed6(double value) {
  std::string out;
  Util::AppendFixed6(out, value);
  return out;
}

TEST(AppendFixed6, MatchesToStringOnChosenValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {0.0, -0.0, 1.0, -1.0, 12.5, -100000.0, 0.0000005, 0.0000015,
                           0.0000025, 1e-7, -1e-7, 2.5e-6, 123456789.1234565, 1e15, 1e16,
                           1e21, 1e300, -1e300, 1.7976931348623157e308, 4.9e-324,
                           2.2250738585072014e-308, 0.1, 0.2, 0.3, 1.0 / 3.0, 2.0 / 3.0,
                           1455.219971, 931800000.0, inf, -inf,
                           // exact ties at the seventh decimal round to even
                           0.0078125, 0.0234375, -1.0078125, 17592186044415.5078125,
                           17592186044416.0, 9.313225746154785e-10, 9.31322574615478e-10,
                           std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::quiet_NaN()};
  for (double value : values) {
    EXPECT_EQ(Fixed6(value), std::to_string(value)) << "value " << value;
  }
}

TEST(AppendFixed6, MatchesToStringOnRandomBitPatternsAndPrices) {
  std::mt19937_64 random(20261205);
  for (int i = 0; i < 200000; ++i) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    ASSERT_EQ(Fixed6(value), std::to_string(value)) << "bits " << bits;
  }
  // Magnitudes from 2^-35 to 2^50 cover the hand-written path and its edges.
  std::uniform_real_distribution<double> exponents(-35.0, 50.0);
  for (int i = 0; i < 200000; ++i) {
    double value = std::exp2(exponents(random)) * (random() % 2 ? 1 : -1);
    ASSERT_EQ(Fixed6(value), std::to_string(value)) << "value " << value;
  }
  std::uniform_real_distribution<double> prices(-5000.0, 5000.0);
  for (int i = 0; i < 200000; ++i) {
    // Values near a half of the sixth decimal are where rounding goes wrong.
    double value = std::round(prices(random) * 1e6) / 1e6 + 5e-7;
    ASSERT_EQ(Fixed6(value), std::to_string(value)) << "value " << value;
  }
}

TEST(DoubleToString, FixedPrecision) {
  EXPECT_EQ(Util::DoubleToString(3.14159, 2), "3.14");
  EXPECT_EQ(Util::DoubleToString(2.0, 3), "2.000");
  EXPECT_EQ(Util::DoubleToString(2.5, 0), "2");
  EXPECT_EQ(Util::DoubleToString(-1.25, 1), "-1.2");
  // A negative precision is the fixed conversion's default of six decimals.
  EXPECT_EQ(Util::DoubleToString(3.14159, -2), "3.141590");
  EXPECT_EQ(Util::DoubleToString(1e300, 2).size(), 304u);
}

TEST(DoubleToString, EveryDecimalIsWritten) {
  // 0.1 is 0.1000000000000000055511151231257827021181583404541015625 exactly:
  // 55 significant decimals, then zeros however many are asked for.
  const std::string tenth = Util::DoubleToString(0.1, 5000);
  EXPECT_EQ(tenth.size(), 5002u);
  EXPECT_EQ(tenth.substr(0, 60), "0.1000000000000000055511151231257827021181583404541015625000");
  EXPECT_EQ(tenth.find_first_not_of('0', 57), std::string::npos);
  // The smallest subnormal has 1074 decimals, the last one a 5.
  const std::string tiny = Util::DoubleToString(4.9406564584124654e-324, 1200);
  EXPECT_EQ(tiny.size(), 1202u);
  EXPECT_EQ(tiny[1075], '5');
  EXPECT_EQ(tiny.find_first_not_of('0', 1076), std::string::npos);
  EXPECT_EQ(Util::DoubleToString(-2.0, 400), "-2." + std::string(400, '0'));
  // Not-a-number and infinities carry no decimals whatever the precision.
  EXPECT_EQ(Util::DoubleToString(INFINITY, 2000), "inf");
  EXPECT_EQ(Util::DoubleToString(-INFINITY, 2000), "-inf");
  const struct {
    double value;
    int precision;
  } lengths[] = {{0.1, 5000}, {-1e300, 1500}, {INFINITY, 100000}, {1.5, 0}, {2.0, -3}, {-0.0, 1101}};
  for (const auto& row : lengths) {
    EXPECT_EQ(Util::DoubleToStringLength(row.value, row.precision),
              Util::DoubleToString(row.value, row.precision).size())
        << row.value << " " << row.precision;
  }
}

TEST(Base64, EncodesAndDecodes) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"abcd", "YWJjZA=="}};
  for (const auto& [plain, coded] : cases) {
    EXPECT_EQ(Base64::Encode(plain), coded);
    EXPECT_EQ(Base64::Decode(coded), plain);
  }
  EXPECT_EQ(Base64::Decode("YWJj*ZA"), "abc");  // stops at a byte outside the alphabet
  EXPECT_EQ(Base64::Decode("YWJjZ"), "abc");    // a single leftover character gives nothing
  std::string bytes = std::string("\x00\xff\x10", 3);
  EXPECT_EQ(Base64::Decode(Base64::Encode(bytes)), bytes);
}

}  // namespace
