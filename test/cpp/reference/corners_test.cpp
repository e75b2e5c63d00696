// Corners of the count conversion, HHV's window rule and SUMBARS's early
// stop, through Exec. Expected values are worked out by hand in the notes.

#include "reference_strategies.h"

namespace {

const Maker kMa = &Make<MaStrategy>, kWma = &Make<WmaStrategy>, kSum = &Make<SumStrategy>;
const Maker kRef = &Make<RefStrategy>, kRefx = &Make<RefxStrategy>;
const Maker kMular = &Make<MularStrategy>, kSumBars = &Make<SumBarsStrategy>;
const Maker kHhv = &Make<HhvStrategy>, kLlv = &Make<LlvStrategy>;
const Maker kFilter = &Make<FilterStrategy>;

constexpr double kTwo64 = 18446744073709551616.0;

TEST(CountConversion, WrapsModulo2To64) {
  // Counts wrap as unsigned 64-bit arithmetic does: 2^64 and 1e300 are 0.
  const struct {
    double n;
    uint64_t want;
  } counts[] = {{3.9, 3},
                {9223372036854775808.0, 9223372036854775808u},
                {1.8e19, 18000000000000000000u},
                {kTwo64, 0},
                {18446744073709555712.0, 4096},  // 2^64 + 2^12
                {1e300, 0},
                {-2, 0},
                {kNaN, 0},
                {kInf, 0},
                {-kInf, 0}};
  for (const auto& row : counts) EXPECT_EQ(ToCount(row.n), row.want) << row.n;

  ExpectExecCases({
      {"MA: 2^64 is 0, the empty series", kMa, {Series({1, 2, 3}), Number(kTwo64)}, {}},
      {"MA: 2^64 + 2^12 is 4096, longer than the data", kMa,
       {Series({1, 2}), Number(18446744073709555712.0)}, {INV, INV}},
      {"WMA: 1e19 stays huge", kWma, {Series({1, 2}), Number(1e19)}, {INV, INV}},
      {"WMA: 1e300 is 0, NaN from the first bar", kWma, {Series({1, 2}), Number(1e300)},
       {kNaN, kNaN}},
      {"SUM: 2^64 is 0, cumulative", kSum, {Series({1, INV, 2}), Number(kTwo64)}, {1, 1, 3}},
      {"SUM: 1e19 stays huge", kSum, {Series({1, 2}), Number(1e19)}, {INV, INV}},
      {"REF: 2^64 is 0, the series itself", kRef, {Series({1, 2}), Number(kTwo64)}, {1, 2}},
      {"REF: 1e19 reaches before every bar", kRef, {Series({1, 2}), Number(1e19)}, {INV, INV}},
      {"REF per bar: 1e300 is 0", kRef, {Series({1, 2}), Series({1e300, 1e300})}, {1, 2}},
      {"REF per bar: 1e19 reaches before every bar", kRef, {Series({1, 2}), Series({1, 1e19})},
       {INV, INV}},
      {"REFX: 2^64 is 0", kRefx, {Series({1, 2}), Number(kTwo64)}, {1, 2}},
      {"REFX per bar: 1e19 and 0", kRefx, {Series({1, 2}), Series({1e19, 0})}, {INV, 2}},
      // i - n + 1 = 1e19 + 1 is a start beyond the bar: the empty product.
      {"MULAR: a start of 1e19", kMular, {Series({2, 3}), Series({-1e19, -1e19})}, {1, 1}},
      // 1e300 wraps to start 0; an infinite start counts as 0.
      {"MULAR: starts beyond 2^64 wrap", kMular, {Series({2, 3}), Series({-1e300, -kInf})},
       {2, 6}},
      {"LLV: a negative count is 0, all history", kLlv, {Series({3, 1, 2}), Number(-2)},
       {3, 1, 1}},
      // FILTER's count is trunc32: beyond 2^31 it is INT32_MIN, no suppression.
      {"FILTER: 2.9 suppresses two bars", kFilter, {Series({1, 1, 1, 1}), Number(2.9)},
       {1, 0, 0, 1}},
      {"FILTER: 2^31 suppresses nothing", kFilter, {Series({1, 1, 1}), Number(2147483648.0)},
       {1, 1, 1}},
      {"FILTER per bar: 2^31 - 1 suppresses the rest", kFilter,
       {Series({1, 1, 1}), Series({2147483647.0, 1, 1})}, {1, 0, 0}},
      {"FILTER per bar: 1e10 and NaN suppress nothing", kFilter,
       {Series({1, 1, 1}), Series({1e10, kNaN, 1})}, {1, 1, 1}},
  });
}

TEST(HhvWindow, NegativeFractionalAndNaNPeriods) {
  ExpectExecCases({
      // Once n <= i, bars up to trunc(i - n) leave before bar i enters: for
      // n below 1 (negative included) the window is the bar alone.
      {"negative period keeps the bar alone", kHhv, {Series({1, 3, 2, 0}), Number(-2)},
       {1, 3, 2, 0}},
      {"huge negative period; an invalid value reads 0", kHhv,
       {Series({4, 3, INV}), Number(-1e300)}, {4, 3, 0}},
      {"0.5 keeps the bar alone", kHhv, {Series({INV, 1, 3, 2}), Number(0.5)}, {INV, 1, 3, 2}},
      // i=1: nothing leaves while i < 1.5; i=2: bars up to trunc(0.5)=0 leave.
      {"1.5 keeps two bars", kHhv, {Series({5, 1, 2, 0}), Number(1.5)}, {5, 5, 2, 2}},
      // i=3: bars up to trunc(0.5)=0 leave, window 1..3; i=4: window 2..4.
      {"2.5 keeps three bars", kHhv, {Series({5, 1, 1, 1, 2}), Number(2.5)}, {5, 5, 5, 1, 2}},
      {"0 is the running maximum", kHhv, {Series({INV, 2, 1, 3, 2}), Number(0)},
       {INV, 2, 2, 3, 3}},
      // With a NaN period nothing leaves: the NaN at 1 stays at the back and
      // keeps the 5 from evicting the 1 at the front.
      {"NaN period: the queue without expiry", kHhv, {Series({1, kNaN, 5}), Number(kNaN)},
       {1, 1, 1}},
  });
}

TEST(SumBarsWalk, StopsOnlyWhereTheTargetCannotBeReached) {
  ExpectExecCases({
      {"worked example", kSumBars, {Series({1, 2, 3}), Number(5)}, {0, 1, 2}},
      {"a target beyond every positive value: the bar's index", kSumBars,
       {Series({1, -1, 2, INV, 3}), Number(100)}, {0, 1, 2, 3, 4}},
      // Bar 2: 0.1 + 0.1 + 0.1 rounds to 0.30000000000000004 and reaches 0.3.
      {"the walk's own rounding decides", kSumBars, {Series({0.1, 0.1, 0.1, 0.1}), Number(0.3)},
       {0, 1, 3, 3}},
      {"NaN in the walk: never reached", kSumBars, {Series({10, kNaN, 1}), Number(5)}, {1, 1, 2}},
  });
  // A long history whose sum never reaches the target: every bar gives its
  // own index, and a target reached only at the first bar is found.
  std::vector<double> ones(5000, 1.0), want(5000);
  for (size_t i = 0; i < want.size(); ++i) want[i] = static_cast<double>(i);
  EXPECT_SERIES(SumBars(Series(ones), Series(std::vector<double>(5000, 1e12))).getRawData(), (want));
  std::vector<double> reach(5000, 5000.0);
  EXPECT_EQ(SumBars(Series(ones), Series(reach)).getRawData().back(), 5000.0);
}

}  // namespace
