// NOT, IF, IFN, LAST and VALUEWHEN: truth is "strictly above 0"; positions
// before the first valid bar of the condition stay invalid. Expected values
// are hand-computed.

#include <limits>

#include "series_expect.h"
#include "strategy/logic/if_strategy.h"
#include "strategy/logic/ifn_strategy.h"
#include "strategy/logic/last_strategy.h"
#include "strategy/logic/not_strategy.h"
#include "strategy/logic/value_when_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct OneInputCase {
  const char* what;
  std::vector<double> x;
  std::vector<double> expected;
};

TEST(Not, Values) {
  const OneInputCase cases[] = {
      // Negative values, NaN and a gap after the first valid bar are false.
      {"mixed", {1, 0, -1, kNaN, INV, 2}, {0, 1, 1, 1, 1, 0}},
      {"lead-in", {INV, 0, 1}, {INV, 1, 0}},
      {"empty", {}, {}},
  };
  for (const OneInputCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Not(Series(c.x)).m_raw_data, (c.expected));
  }
}

TEST(Last, CountsTheRunOfTrueBars) {
  const OneInputCase cases[] = {
      {"runs", {1, 1, 0, 1}, {1, 2, 0, 1}},
      {"negative is false", {-1, 2, 2, 0.5}, {0, 1, 2, 3}},
      {"lead-in and a gap", {INV, 1, INV, 1}, {INV, 1, 0, 1}},
      {"empty", {}, {}},
  };
  for (const OneInputCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Last(Series(c.x)).m_raw_data, (c.expected));
  }
}

struct IfCase {
  const char* what;
  std::vector<double> k;
  std::vector<double> a;
  std::vector<double> b;
  std::vector<double> if_expected;
  std::vector<double> ifn_expected;
};

TEST(If, SeriesVariant) {
  const IfCase cases[] = {
      {"truth", {1, 0, -1, INV, kNaN, 0.1}, {10, 10, 10, 10, 10, 10}, {20, 20, 20, 20, 20, 20},
       {10, 20, 20, INV, 20, 10}, {20, 10, 10, INV, 10, 20}},
      // The chosen value is copied unchanged, invalid or not.
      {"invalid branches pass through", {1, 0}, {INV, 1}, {2, INV}, {INV, INV}, {2, 1}},
      {"shortest of three", {1, 1, 1}, {5, 6}, {7}, {5}, {7}},
      {"empty condition", {}, {1}, {2}, {}, {}},
  };
  for (const IfCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(If(Series(c.k), Series(c.a), Series(c.b)).m_raw_data, (c.if_expected));
    EXPECT_SERIES(Ifn(Series(c.k), Series(c.a), Series(c.b)).m_raw_data, (c.ifn_expected));
  }
}

TEST(If, NumberVariant) {
  DataExt k = Series({1, 0, INV, -2});
  EXPECT_SERIES(If(k, 5, 6).m_raw_data, ({5, 6, INV, 6}));
  EXPECT_SERIES(Ifn(k, 5, 6).m_raw_data, ({6, 5, INV, 5}));
}

struct ValueWhenCase {
  const char* what;
  std::vector<double> k;
  std::vector<double> x;
  std::vector<double> expected;
};

TEST(ValueWhen, HoldsTheLastChosenValue) {
  const ValueWhenCase cases[] = {
      {"bar 0 takes x without a condition", {0, 1, 0}, {5, 6, 7}, {5, 6, 6}},
      // After a lead-in the previous output is invalid until k turns true.
      {"lead-in", {INV, 0, 1, 0}, {5, 6, 7, 8}, {INV, INV, 7, 7}},
      {"invalid x is copied", {1, 0}, {INV, 3}, {INV, INV}},
      {"negative and gap are false", {1, -1, INV, 1}, {1, 2, 3, 4}, {1, 1, 1, 4}},
      {"shorter x", {1, 1, 1}, {4, 5}, {4, 5}},
      {"never valid", {INV, INV}, {1, 2}, {INV, INV}},
  };
  for (const ValueWhenCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(ValueWhen(Series(c.k), Series(c.x)).m_raw_data, (c.expected));
  }
}

}  // namespace
