// SUM, SUMBARS and MULAR through Exec: hand-computed window sums, walks and
// products.

#include "reference_strategies.h"

namespace {

TEST(SumTest, ConstantAndPerBarPeriod) {
  const Maker sum = &Make<SumStrategy>;
  ExpectExecCases({
      {"cumulative skips gaps", sum, {Series({1, INV, 2}), Number(0)}, {1, 1, 3}},
      {"cumulative lead-in", sum, {Series({INV, 1, INV, 2}), Number(0)}, {INV, 1, 1, 3}},
      {"two-bar window", sum, {Series({1, 2, 3}), Number(2)}, {INV, 3, 5}},
      // [1,2] = 1 + gap; [2,3] = gap + 2; [3,4] = 2 + 3.
      {"lead-in and a gap", sum, {Series({INV, 1, INV, 2, 3}), Number(2)}, {INV, INV, 1, 2, 5}},
      {"huge window", sum, {Series({1, 2}), Number(1e300)}, {INV, INV}},
      {"per-bar: period below 1 gives 0", sum, {Series({1, 2, 3}), Series({1, 0, -1})},
       {1, 0, 0}},
      // Bar 2 with period 3 starts at 0 again after a one-bar window.
      {"per-bar: moving start", sum, {Series({1, 2, 4}), Series({1, 1, 3})}, {1, 2, 7}},
  });
}

TEST(SumBarsTest, BackwardWalk) {
  const Maker bars = &Make<SumBarsStrategy>;
  ExpectExecCases({
      {"worked example: short, short, 3 + 2", bars, {Series({1, 2, 3}), Number(5)}, {0, 1, 2}},
      {"the current bar alone reaches", bars, {Series({1, 6}), Number(5)}, {0, 1}},
      // Bar 2: 3, gap, 4 -> reached after walking 3 bars.
      {"skipped gaps count as bars", bars, {Series({4, INV, 3}), Number(6)}, {0, 1, 3}},
      {"lead-in", bars, {Series({INV, 5, 5}), Number(5)}, {INV, 1, 1}},
      {"NaN in the walk stops it", bars, {Series({10, kNaN, 1}), Number(5)}, {1, 1, 2}},
      {"per-bar targets not above 0", bars, {Series({1, 2}), Series({0, -kInf})}, {1, 1}},
  });
}

TEST(MularTest, WindowProduct) {
  const Maker mular = &Make<MularStrategy>;
  ExpectExecCases({
      {"worked example", mular, {Series({2, 3, 4}), Number(2)}, {2, 6, 12}},
      {"invalid current bar; gaps skipped", mular, {Series({2, INV, 4}), Series({3, 3, 3})},
       {2, INV, 8}},
      {"period 0 is the empty product", mular, {Series({2, 3}), Number(0)}, {1, 1}},
      {"huge negative period", mular, {Series({2, 3}), Series({-1e300, -kInf})}, {1, 1}},
  });
}

}  // namespace
