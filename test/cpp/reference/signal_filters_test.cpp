// BACKSET, FILTER and ALTFILTER through Exec: hand-traced signal patterns.

#include "reference_strategies.h"

namespace {

TEST(BackSetTest, ConstantAndPerBarLength) {
  const Maker back_set = &Make<BackSetStrategy>;
  ExpectExecCases({
      {"worked example", back_set, {Series({0, 0, 1, 0}), Number(2)}, {0, 1, 1, 0}},
      {"length up to 1 marks the signal bar", back_set, {Series({0, 1, 0}), Number(0.5)},
       {0, 1, 0}},
      {"fraction rounds up", back_set, {Series({0, 0, 1}), Number(1.2)}, {0, 1, 1}},
      {"marks overwrite the invalid lead-in", back_set, {Series({INV, INV, 1}), Number(2)},
       {INV, 1, 1}},
      {"huge length marks back to the first bar", back_set, {Series({0, 0, 1, 0}), Number(1e300)},
       {1, 1, 1, 0}},
      {"length 0 never signals", back_set, {Series({1, 1}), Number(0)}, {0, 0}},
      {"NaN length never signals", back_set, {Series({1, 1}), Number(kNaN)}, {0, 0}},
      {"NaN is no signal", back_set, {Series({kNaN, 0}), Number(1)}, {0, 0}},
      {"per-bar: length read at the signal", back_set, {Series({0, 0, 1, 1}), Series({9, 9, 1, 3})},
       {0, 1, 1, 1}},
      {"per-bar: NaN signals", back_set, {Series({kNaN, 0}), Series({1, 1})}, {1, 0}},
      {"per-bar: bars beyond the length series keep 0", back_set,
       {Series({0, 1, 0, 1}), Series({1, 2})}, {1, 1, 0, 0}},
  });
}

TEST(FilterTest, ConstantAndPerBarCount) {
  const Maker filter = &Make<FilterStrategy>;
  ExpectExecCases({
      {"worked example", filter, {Series({1, 1, 1, 1}), Number(2)}, {1, 0, 0, 1}},
      {"lead-in", filter, {Series({INV, 1, 1}), Number(1)}, {INV, 1, 0}},
      {"count 0 keeps every signal", filter, {Series({1, 1}), Number(0)}, {1, 1}},
      {"fraction truncates", filter, {Series({1, 1, 1}), Number(1.9)}, {1, 0, 1}},
      {"NaN is a signal", filter, {Series({kNaN, 1}), Number(1)}, {1, 0}},
      {"huge count suppresses the rest", filter, {Series({1, 1, 1, 1}), Number(1e300)},
       {1, 0, 0, 0}},
      // The count is read at each signal bar only: n[1] = 5 is suppressed.
      {"per-bar: count read at the signal", filter,
       {Series({1, 1, 1, 1, 1}), Series({1, 5, 1, 1, 1})}, {1, 0, 1, 0, 1}},
      {"per-bar: bars beyond the count series keep 0", filter, {Series({1, 1, 1}), Series({0})},
       {1, 0, 0}},
  });
}

TEST(AltFilterTest, Alternation) {
  const Maker alt = &Make<AltFilterStrategy>;
  ExpectExecCases({
      // Bar 1: A held alone before, A holds now -> 0; bar 2: A held alone
      // before (inputs, not output), A stops -> 1.
      {"A alone before", alt, {Series({1, 1, 0}), Series({0, 0, 0})}, {1, 0, 1}},
      {"B alone before", alt, {Series({0, 0}), Series({1, 1})}, {1, 0}},
      {"both before: either now", alt, {Series({1, 1, 0}), Series({1, 0, 0})}, {1, 1, 1}},
      // Bar 2: B held alone before and stops -> 1.
      {"neither before: either now", alt, {Series({0, 0, 0}), Series({0, 1, 0})}, {0, 1, 1}},
      {"lead-in until both are valid", alt, {Series({INV, 1, 0}), Series({0, INV, 0})},
       {INV, INV, 0}},
      {"bars beyond B keep 0", alt, {Series({1, 1, 1}), Series({0})}, {1, 0, 0}},
      {"NaN is not above 0", alt, {Series({kNaN, 1}), Series({0, 0})}, {0, 1}},
  });
}

}  // namespace
