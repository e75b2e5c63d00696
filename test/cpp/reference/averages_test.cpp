// Moving averages. Expected values are hand-computed from the stated
// recurrences; where a value is not a short decimal the expression that
// produces it is written instead, in the function's order of operations.

#include <cmath>
#include <limits>

#include "series_expect.h"
#include "strategy/reference/dma_strategy.h"
#include "strategy/reference/ema2_strategy.h"
#include "strategy/reference/ema_strategy.h"
#include "strategy/reference/ma_strategy.h"
#include "strategy/reference/mema_strategy.h"
#include "strategy/reference/sma_strategy.h"
#include "strategy/reference/wma_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct ConstCase {
  const char* note;
  std::vector<double> x;
  unsigned long n;
  std::vector<double> want;
};

struct PerBarCase {
  const char* note;
  std::vector<double> x;
  std::vector<double> n;
  std::vector<double> want;
};

TEST(MaTest, ConstantPeriod) {
  const ConstCase cases[] = {
      {"worked example", {1, 2, 3, 4, 5}, 3, {INV, INV, 2, 3, 4}},
      {"two invalid lead-in bars: first average at 4 over 2..4",
       {INV, INV, 3, 6, 9, 12}, 3, {INV, INV, INV, INV, 6, 9}},
      // Window [0,1] = 2 + gap -> 2/2; [1,2] = gap + 4 -> 4/2; [2,3] -> 10/2.
      {"gap after the first valid bar counts as 0", {2, INV, 4, 6}, 2, {INV, 1, 2, 5}},
      {"period 0 is empty", {1, 2, 3}, 0, {}},
      {"period longer than the valid bars", {INV, 1, 2}, 3, {INV, INV, INV}},
      {"huge period", {1, 2}, ~0UL, {INV, INV}},
      {"period 1 is the series", {1.5, INV, -2}, 1, {1.5, 0, -2}},
      // The running sum carries a NaN forward: it is never subtracted away.
      {"NaN enters the running sum", {1, kNaN, 3, 4}, 2, {INV, kNaN, kNaN, kNaN}},
      {"empty series", {}, 2, {}},
  };
  for (const ConstCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Ma(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(MaTest, PerBarPeriod) {
  const PerBarCase cases[] = {
      {"shortened windows near the first bar", {1, 2, 3, 4}, {3, 3, 3, 3}, {1, 1.5, 2, 3}},
      {"period 0 at one bar", {1, 2, 3}, {1, 0, 2}, {1, INV, 2.5}},
      {"window starts at the first valid bar", {INV, 2, 4, 6}, {2, 2, 2, 2}, {INV, 2, 3, 5}},
      // (2 + skipped) / 2 and (2 + skipped + 4) / 3.
      {"gap counts in the divisor", {2, INV, 4}, {3, 3, 3}, {2, 1, 2}},
      {"NaN period: cumulative from the first valid bar", {2, 4, 6}, {kNaN, kNaN, kNaN}, {2, 3, 4}},
      {"huge period: cumulative", {2, 4, 6}, {1e300, kInf, 1e300}, {2, 3, 4}},
      {"negative period", {2, 4, 6}, {-1, -1, -1}, {INV, INV, INV}},
      // i - n + 1 beyond the 32-bit range: the window falls back to bar f.
      {"start out of range is cumulative", {2, 4}, {-1, -1e300}, {INV, 3}},
      // Starts trunc(i - 0.5): 0, 0, 1.
      {"fractional period", {2, 4, 6}, {1.5, 1.5, 1.5}, {2, 3, 5}},
      {"shorter period series bounds the result", {1, 2, 3, 4}, {2, 2}, {1, 1.5}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Ma(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(WmaTest, ConstantPeriodMatchesEma2) {
  const ConstCase cases[] = {
      // (1*1 + 2*2 + 3*3) / (1 + 2 + 3).
      {"worked example", {1, 2, 3}, 3, {INV, INV, 14.0 / 6.0}},
      {"period 1 is the series", {1, 5}, 1, {1, 5}},
      {"period 0: NaN from the first valid bar", {INV, 1, 2}, 0, {INV, kNaN, kNaN}},
      // [0,1]: 1*1 / 3; [1,2]: gap skipped, 2*3 / 3.
      {"gap keeps its weight in the divisor", {1, INV, 3}, 2, {INV, 1.0 / 3.0, 2}},
      {"lead-in", {INV, 1, 2, 3}, 2, {INV, INV, 5.0 / 3.0, 8.0 / 3.0}},
      {"huge period", {1, 2}, ~0UL, {INV, INV}},
  };
  for (const ConstCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Wma(Series(c.x), c.n).getRawData(), (c.want));
    EXPECT_SERIES(Ema2(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(WmaTest, PerBarPeriodMatchesEma2) {
  const PerBarCase cases[] = {
      {"shortened windows weighted from 1", {1, 2, 3}, {3, 3, 3}, {1, 5.0 / 3.0, 14.0 / 6.0}},
      {"period below 1 gives NaN", {1, 2}, {1, 0}, {1, kNaN}},
      // Window restarts at bar 1 then grows back to [1,2]: 1*2 + 2*3 over 3.
      {"moving start", {9, 2, 3}, {1, 1, 2}, {9, 2, 8.0 / 3.0}},
      {"lead-in", {INV, 4, 2}, {5, 5, 5}, {INV, 4, 8.0 / 3.0}},
      {"shorter period series", {1, 2, 3}, {1}, {1}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Wma(Series(c.x), Series(c.n)).getRawData(), (c.want));
    EXPECT_SERIES(Ema2(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(EmaTest, RecurrenceSeedAndGaps) {
  const PerBarCase cases[] = {
      // t = 40 / 4 = 10; e = 10 * 2 / 4 + 10 = 15.
      {"gap keeps the average", {10, INV, 20}, {3, 3, 3}, {10, INV, 15}},
      {"seeded at the first valid bar", {INV, 2, 4}, {1, 1, 1}, {INV, 2, 4}},
      // e1 = 1 * 2 / 4 + 4 / 4 = 1.5; e2 = 1.5 * 0 / 2 + 6 / 2 = 3.
      {"period read per bar", {1, 2, 3}, {1, 3, 1}, {1, 1.5, 3}},
      {"NaN is a value", {kNaN, 1}, {3, 3}, {kNaN, kNaN}},
      {"shorter period series", {1, 2, 3}, {3}, {1}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Ema(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(SmaTest, Recurrence) {
  struct Case {
    const char* note;
    std::vector<double> x, n, m, want;
  };
  const Case cases[] = {
      {"M = N follows X after the seed", {1, 5, 3}, {2, 2, 2}, {2, 2, 2}, {1, 5, 3}},
      {"gap keeps the average", {10, INV, 20}, {3, 3, 3}, {1, 1, 1},
       {10, INV, 10.0 * (3 - 1) / 3 + 20.0 * 1 / 3}},
      // e = 1 * (2 - 1) / 2 + 2 * 1 / 2.
      {"shortest of the three bounds the result", {1, 2, 3}, {2, 2, 2}, {1, 1}, {1, 1.5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Sma(Series(c.x), Series(c.n), Series(c.m)).getRawData(), (c.want));
  }
}

TEST(MemaTest, ConstantPeriod) {
  const ConstCase cases[] = {
      // (4 * 1 + 8) / 2 = 6; (6 + 8) / 2 = 7.
      {"recurrence", {4, 8, 8}, 2, {4, 6, 7}},
      {"gap decays by (N - 1) / N", {4, INV, 8}, 2, {4, 2, 5}},
      {"lead-in", {INV, 3, 6}, 3, {INV, 3, 4}},
      {"period 1: invalid inputs read as 0", {1, INV, 3}, 1, {1, 0, 3}},
      // (1 * -1 + 3) / 0.
      {"period 0 divides by zero", {1, 3}, 0, {1, kInf}},
  };
  for (const ConstCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Mema(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(MemaTest, PerBarPeriod) {
  const PerBarCase cases[] = {
      {"period 0 gives an invalid bar", {4, 8, 8}, {2, 2, 0}, {4, 6, INV}},
      {"a bar after an invalid output restarts from 0", {4, 8, 8, 6}, {2, 2, 0, 2}, {4, 6, INV, 3}},
      {"invalid period", {4, 8}, {2, INV}, {4, INV}},
      {"the first valid bar ignores its period", {INV, 5}, {0, 0}, {INV, 5}},
      {"shorter period series", {4, 8, 8}, {2, 2}, {4, 6}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Mema(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(DmaTest, ConstantWeight) {
  struct Case {
    const char* note;
    std::vector<double> x;
    double a;
    std::vector<double> want;
  };
  const Case cases[] = {
      // 10*.5 + 20*.5 = 15; 15*.5 + 0 = 7.5; 7.5*.5 + 40*.5 = 23.75.
      {"recurrence with a gap read as 0", {10, 20, INV, 40}, 0.5, {10, 15, 7.5, 23.75}},
      {"weight 1 passes X through", {10, INV, 30}, 1, {10, INV, 30}},
      {"invalid weight passes X through", {10, 20}, INV, {10, 20}},
      {"lead-in", {INV, 8, 4}, 0.25, {INV, 8, 7}},
      {"NaN weight is used", {10, 20}, kNaN, {10, kNaN}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Dma(Series(c.x), c.a).getRawData(), (c.want));
  }
}

TEST(DmaTest, PerBarWeight) {
  const PerBarCase cases[] = {
      // Bar 1 passes the gap through (weight 1); bar 2 follows an invalid
      // output and restarts from x; bar 3: (1 - .5) * 30 + 50 * .5.
      {"degenerate weight, then restart", {10, INV, 30, 50}, {0.5, 1, 0.5, 0.5}, {10, INV, 30, 40}},
      {"shorter weight series", {10, 20, 30}, {0.5, 0.5}, {10, 15}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Dma(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

}  // namespace
