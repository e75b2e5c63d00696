// SUM, SUMBARS and MULAR: hand-computed window sums, walks and products.

#include <limits>

#include "series_expect.h"
#include "strategy/reference/mular_strategy.h"
#include "strategy/reference/sum_bars_strategy.h"
#include "strategy/reference/sum_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct SeriesCase {
  const char* note;
  std::vector<double> x;
  std::vector<double> n;
  std::vector<double> want;
};

TEST(SumTest, ConstantPeriod) {
  struct Case {
    const char* note;
    std::vector<double> x;
    unsigned long n;
    std::vector<double> want;
  };
  const Case cases[] = {
      {"cumulative skips gaps", {1, INV, 2}, 0, {1, 1, 3}},
      {"cumulative lead-in", {INV, 1, INV, 2}, 0, {INV, 1, 1, 3}},
      {"two-bar window", {1, 2, 3}, 2, {INV, 3, 5}},
      // [1,2] = 1 + gap; [2,3] = gap + 2; [3,4] = 2 + 3.
      {"lead-in and a gap", {INV, 1, INV, 2, 3}, 2, {INV, INV, 1, 2, 5}},
      {"window longer than the data", {1, 2}, 3, {INV, INV}},
      {"huge window", {1, 2}, ~0UL, {INV, INV}},
      {"empty", {}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Sum(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(SumTest, PerBarPeriod) {
  const SeriesCase cases[] = {
      {"shortened at the first bar", {1, 2, 3}, {2, 2, 2}, {1, 3, 5}},
      {"period below 1 gives 0", {1, 2, 3}, {1, 0, -1}, {1, 0, 0}},
      {"NaN period is cumulative", {INV, 1, 2}, {kNaN, kNaN, kNaN}, {INV, 1, 3}},
      // Bar 2 with period 3 starts at 0 again after a one-bar window.
      {"moving start", {1, 2, 4}, {1, 1, 3}, {1, 2, 7}},
      {"shorter period series", {1, 2, 3}, {5}, {1}},
  };
  for (const SeriesCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Sum(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(SumBarsTest, BackwardWalk) {
  const SeriesCase cases[] = {
      {"worked example: short, short, 3 + 2", {1, 2, 3}, {5, 5, 5}, {0, 1, 2}},
      {"the current bar alone reaches", {1, 6}, {5, 5}, {0, 1}},
      // Bar 2: 3, gap, 4 -> reached after walking 3 bars.
      {"skipped gaps count as bars", {4, INV, 3}, {6, 6, 6}, {0, 1, 3}},
      {"lead-in", {INV, 5, 5}, {5, 5, 5}, {INV, 1, 1}},
      {"NaN target is never reached", {1, 2, 3}, {kNaN, kNaN, kNaN}, {0, 1, 2}},
      {"NaN in the walk stops it", {10, kNaN, 1}, {5, 5, 5}, {1, 1, 2}},
      {"per-bar targets", {1, 2, 3}, {1, 3, 100}, {1, 2, 2}},
      {"target not above 0", {1, 2}, {0, -kInf}, {1, 1}},
      {"shorter target series", {1, 2, 3}, {1}, {1}},
  };
  for (const SeriesCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(SumBars(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(MularTest, WindowProduct) {
  const SeriesCase cases[] = {
      {"worked example", {2, 3, 4}, {2, 2, 2}, {2, 6, 12}},
      {"invalid current bar; gaps skipped", {2, INV, 4}, {3, 3, 3}, {2, INV, 8}},
      {"window longer than the history", {2, 3, 4}, {10, 10, 10}, {2, 6, 24}},
      {"period 0 is the empty product", {2, 3}, {0, 0}, {1, 1}},
      {"NaN period takes every bar", {2, 3, 4}, {kNaN, kNaN, kNaN}, {2, 6, 24}},
      {"huge negative period", {2, 3}, {-1e300, -kInf}, {1, 1}},
      // Bar 2: start trunc(2 - 1.5 + 1) = 1.
      {"fractional period", {2, 3, 4}, {1.5, 1.5, 1.5}, {2, 6, 12}},
      {"shorter period series", {2, 3, 4}, {2}, {2}},
  };
  for (const SeriesCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Mular(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

}  // namespace
