// NOT, LAST, IF, IFN and VALUEWHEN: truth is "strictly above 0"; positions
// before the first valid bar of the condition stay invalid. By hand.

#include "logic_strategies.h"

namespace {

TEST(NotLast, Values) {
  const struct {
    const char* what;
    DataExt (*function)(const DataExt&);
    std::vector<double> x, expected;
  } cases[] = {
      {"NOT: negative, nan and a later gap are false",
       Not,
       {1, 0, -1, kNaN, INV, 2},
       {0, 1, 1, 1, 1, 0}},
      {"NOT lead-in", Not, {INV, 0, 1}, {INV, 1, 0}},
      {"LAST runs", Last, {1, 1, 0, 1}, {1, 2, 0, 1}},
      {"LAST lead-in and a gap", Last, {INV, 1, INV, 1}, {INV, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(c.function(Series(c.x)).m_raw_data, (c.expected));
  }
}

TEST(If, SeriesVariant) {
  const struct {
    const char* what;
    std::vector<double> k, a, b, if_expected, ifn_expected;
  } cases[] = {
      {"truth",
       {1, 0, -1, INV, kNaN, 0.1},
       {10, 10, 10, 10, 10, 10},
       {20, 20, 20, 20, 20, 20},
       {10, 20, 20, INV, 20, 10},
       {20, 10, 10, INV, 10, 20}},
      {"invalid branches pass through", {1, 0}, {INV, 1}, {2, INV}, {INV, INV}, {2, 1}},
      {"shortest of three", {1, 1, 1}, {5, 6}, {7}, {5}, {7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(If(Series(c.k), Series(c.a), Series(c.b)).m_raw_data, (c.if_expected));
    EXPECT_SERIES(Ifn(Series(c.k), Series(c.a), Series(c.b)).m_raw_data, (c.ifn_expected));
  }
  EXPECT_SERIES(If(Series({1, 0, INV, -2}), 5, 6).m_raw_data, ({5, 6, INV, 6}));
  EXPECT_SERIES(Ifn(Series({1, 0, INV, -2}), 5, 6).m_raw_data, ({6, 5, INV, 5}));
}

TEST(ValueWhen, HoldsTheLastChosenValue) {
  const struct {
    const char* what;
    std::vector<double> k, x, expected;
  } cases[] = {
      {"bar 0 takes x without a condition", {0, 1, 0}, {5, 6, 7}, {5, 6, 6}},
      {"after a lead-in: invalid until k is true", {INV, 0, 1, 0}, {5, 6, 7, 8}, {INV, INV, 7, 7}},
      {"invalid x is copied", {1, 0}, {INV, 3}, {INV, INV}},
      {"negative and a gap are false", {1, -1, INV, 1}, {1, 2, 3, 4}, {1, 1, 1, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(ValueWhen(Series(c.k), Series(c.x)).m_raw_data, (c.expected));
  }
}

}  // namespace
