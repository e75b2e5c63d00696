// BACKSET, FILTER and ALTFILTER: hand-traced signal patterns.

#include <limits>

#include "series_expect.h"
#include "strategy/reference/alt_filter_strategy.h"
#include "strategy/reference/back_set_strategy.h"
#include "strategy/reference/filter_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct ConstCase {
  const char* note;
  std::vector<double> x;
  double n;
  std::vector<double> want;
};

struct PerBarCase {
  const char* note;
  std::vector<double> x;
  std::vector<double> n;
  std::vector<double> want;
};

TEST(BackSetTest, ConstantLength) {
  const ConstCase cases[] = {
      {"worked example", {0, 0, 1, 0}, 2, {0, 1, 1, 0}},
      {"length up to 1 marks the signal bar", {0, 1, 0}, 0.5, {0, 1, 0}},
      {"fraction rounds up", {0, 0, 1}, 1.2, {0, 1, 1}},
      {"overlapping signals", {1, 0, 1, 1, 0}, 2, {1, 1, 1, 1, 0}},
      {"marks overwrite the invalid lead-in", {INV, INV, 1}, 2, {INV, 1, 1}},
      {"lead-in without a signal", {INV, INV, 0}, 2, {INV, INV, 0}},
      {"huge length marks back to the first bar", {0, 0, 1, 0}, 1e300, {1, 1, 1, 0}},
      {"infinite length", {0, 1}, kInf, {1, 1}},
      {"length 0 never signals", {1, 1}, 0, {0, 0}},
      {"NaN length never signals", {1, 1}, kNaN, {0, 0}},
      {"NaN is no signal", {kNaN, 0}, 1, {0, 0}},
  };
  for (const ConstCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(BackSet(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(BackSetTest, PerBarLength) {
  const PerBarCase cases[] = {
      {"length read at the signal", {0, 0, 1, 1}, {9, 9, 1, 3}, {0, 1, 1, 1}},
      {"NaN signals", {kNaN, 0}, {1, 1}, {1, 0}},
      {"bars beyond the length series keep 0", {0, 1, 0, 1}, {1, 2}, {1, 1, 0, 0}},
      {"no length series", {INV, 1}, {}, {INV, 0}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(BackSet(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(FilterTest, ConstantCount) {
  const ConstCase cases[] = {
      {"worked example", {1, 1, 1, 1}, 2, {1, 0, 0, 1}},
      {"lead-in", {INV, 1, 1}, 1, {INV, 1, 0}},
      {"count 0 keeps every signal", {1, 1}, 0, {1, 1}},
      {"negative count keeps every signal", {1, 1}, -5, {1, 1}},
      {"fraction truncates", {1, 1, 1}, 1.9, {1, 0, 1}},
      {"NaN is a signal", {kNaN, 1}, 1, {1, 0}},
      {"huge count suppresses the rest", {1, 1, 1, 1}, 1e300, {1, 0, 0, 0}},
      {"no signal", {0, -1, INV}, 1, {0, 0, 0}},
  };
  for (const ConstCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Filter(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(FilterTest, PerBarCount) {
  const PerBarCase cases[] = {
      // The count is read at each signal bar only: n[1] = 5 is suppressed.
      {"count read at the signal", {1, 1, 1, 1, 1}, {1, 5, 1, 1, 1}, {1, 0, 1, 0, 1}},
      {"bars beyond the count series keep 0", {1, 1, 1}, {0}, {1, 0, 0}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Filter(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(AltFilterTest, Alternation) {
  struct Case {
    const char* note;
    std::vector<double> a, b, want;
  };
  const Case cases[] = {
      // Bar 1: A held alone before, A holds now -> 0; bar 2: A held alone
      // before (inputs, not output), A stops -> 1.
      {"A alone before", {1, 1, 0}, {0, 0, 0}, {1, 0, 1}},
      {"B alone before", {0, 0}, {1, 1}, {1, 0}},
      {"both before: either now", {1, 1, 0}, {1, 0, 0}, {1, 1, 1}},
      // Bar 2: B held alone before and stops -> 1.
      {"neither before: either now", {0, 0, 0}, {0, 1, 0}, {0, 1, 1}},
      {"lead-in until both are valid", {INV, 1, 0}, {0, INV, 0}, {INV, INV, 0}},
      {"bars beyond B keep 0", {1, 1, 1}, {0}, {1, 0, 0}},
      {"never both valid", {INV, INV}, {0}, {INV, 0}},
      {"NaN is not above 0", {kNaN, 1}, {0, 0}, {0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(AltFilter(Series(c.a), Series(c.b)).getRawData(), (c.want));
  }
}

}  // namespace
