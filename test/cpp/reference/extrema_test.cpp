// Window extremes (HHV, LLV, HHVBARS, LLVBARS), ranks (HOD, LOD) and ranges
// (TOPRANGE, LOWRANGE) on short series whose expected values are worked out
// by hand in the notes; "documented" cases come from the function reference.

#include <limits>

#include "series_expect.h"
#include "strategy/reference/hhv_bars_strategy.h"
#include "strategy/reference/hhv_strategy.h"
#include "strategy/reference/hod_strategy.h"
#include "strategy/reference/llv_bars_strategy.h"
#include "strategy/reference/llv_strategy.h"
#include "strategy/reference/lod_strategy.h"
#include "strategy/reference/low_range_strategy.h"
#include "strategy/reference/top_range_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kLowest = std::numeric_limits<double>::lowest();

struct Case {
  const char* note;
  DataExt (*run)(const DataExt& x, const DataExt& n);
  std::vector<double> x;
  DataExt n;  // a number (constant period) or a series (per-bar)
  std::vector<double> want;
};

// Constant periods reach the free functions as Exec hands them over.
DataExt HhvConst(const DataExt& x, const DataExt& n) {
  return n.getSingleNumber() == 0.0 ? Hhv(x) : Hhv(x, n.getSingleNumber());
}
DataExt LlvConst(const DataExt& x, const DataExt& n) {
  return Llv(x, ToCount(n.getSingleNumber()));
}
DataExt HhvBarsConst(const DataExt& x, const DataExt& n) {
  return HhvBars(x, ToCount(n.getSingleNumber()));
}
DataExt LlvBarsConst(const DataExt& x, const DataExt& n) {
  return LlvBars(x, ToCount(n.getSingleNumber()));
}
DataExt HodConst(const DataExt& x, const DataExt& n) {
  return Hod(x, ToCount(n.getSingleNumber()));
}
DataExt LodConst(const DataExt& x, const DataExt& n) {
  return Lod(x, ToCount(n.getSingleNumber()));
}
DataExt HhvSeries(const DataExt& x, const DataExt& n) { return Hhv(x, n); }
DataExt LlvSeries(const DataExt& x, const DataExt& n) { return Llv(x, n); }
DataExt HhvBarsSeries(const DataExt& x, const DataExt& n) { return HhvBars(x, n); }
DataExt LlvBarsSeries(const DataExt& x, const DataExt& n) { return LlvBars(x, n); }
DataExt HodSeries(const DataExt& x, const DataExt& n) { return Hod(x, n); }
DataExt LodSeries(const DataExt& x, const DataExt& n) { return Lod(x, n); }
DataExt TopRangeOf(const DataExt& x, const DataExt&) { return TopRange(x); }
DataExt LowRangeOf(const DataExt& x, const DataExt&) { return LowRange(x); }

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    EXPECT_SERIES(c.run(Series(c.x), c.n).getRawData(), (c.want)) << c.note;
  }
}

TEST(WindowExtremeTest, ConstantPeriods) {
  RunCases({
      {"documented: short windows at the start", HhvConst, {1, 3, 2, 0, 1}, Number(3),
       {1, 3, 3, 3, 2}},
      {"0 is the running maximum since the first valid bar", HhvConst, {INV, 2, 1, 3, 2},
       Number(0), {INV, 2, 2, 3, 3}},
      {"negative period: all history", HhvConst, {1, 3, 2}, Number(-1), {1, 3, 3}},
      {"NaN period: all history", HhvConst, {1, 3, 2}, Number(kNaN), {1, 3, 3}},
      {"huge period: all history", HhvConst, {2, 1, 3}, Number(1e300), {2, 2, 3}},
      // i=3: bars up to trunc(3-2.5)=0 leave, window 1..3; i=4: window 2..4.
      {"2.5 keeps three bars", HhvConst, {5, 1, 1, 1, 2}, Number(2.5), {5, 5, 5, 1, 2}},
      {"invalid lead-in, then window from the first valid bar", HhvConst, {INV, INV, 4, 2, 1},
       Number(2), {INV, INV, 4, 4, 2}},
      // -100000 beats -200000 once it is in the window, and reads 0.
      {"an invalid maximum reads 0", HhvConst, {-200000, INV, INV}, Number(2), {-200000, 0, 0}},
      // i=2: the NaN at 1 blocks nothing behind it and is never evicted.
      {"NaN enters the queue and can be its front", HhvConst, {1, kNaN, 0, 0}, Number(2),
       {1, 1, kNaN, 0}},
      {"window minimum", LlvConst, {3, 1, 2, 4, 5}, Number(3), {3, 1, 1, 1, 2}},
      {"documented: an invalid value in the window reads 0", LlvConst, {5, INV, 6, 7, 8},
       Number(3), {5, 0, 0, 0, 6}},
      {"0 is the running minimum", LlvConst, {INV, 4, 5, 2, 3}, Number(0), {INV, 4, 4, 2, 2}},
      {"2.9 truncates to 2", LlvConst, {3, 1, 2, 4}, Number(2.9), {3, 1, 1, 2}},
      {"documented: the earlier of equal highs", HhvBarsConst, {5, 5, 1}, Number(3), {0, 1, 2}},
      {"documented: the later of equal lows", LlvBarsConst, {1, 1, 5}, Number(3), {0, 0, 1}},
      {"running form: the earlier of equal lows", LlvBarsConst, {1, 1, 5}, Number(0), {0, 1, 2}},
      {"running form from the first valid bar", HhvBarsConst, {INV, 2, 3, 3, 1}, Number(0),
       {INV, 0, 0, 1, 2}},
      // i=3: window 2..3, the 3 at bar 2 is one bar back.
      {"window of two", HhvBarsConst, {1, 3, 3, 2}, Number(2), {0, 0, 1, 1}},
  });
}

TEST(WindowExtremeTest, PerBarPeriods) {
  RunCases({
      {"documented: the true maximum of negative values", HhvSeries, {-3, -1, -2},
       Series({3, 3, 3}), {-3, -1, -1}},
      // i=4: period 9 reaches past bar 0 and stops there.
      {"windows of 2, 3, 1 and 9 bars", HhvSeries, {1, 5, 3, 4, 2, 6}, Series({2, 2, 3, 1, 9, 2}),
       {1, 5, 5, 4, 5, 6}},
      {"0, negative and NaN periods give the bar's own value", HhvSeries, {1, 5, 3, 4},
       Series({1, 0, -3, kNaN}), {1, 5, 3, 4}},
      {"bars before the first valid bar take part", LlvSeries, {INV, 5, 4, 6}, Series({3, 3, 3, 3}),
       {INV, 5, 0, 4}},
      {"a window of NaN alone gives the lowest double", HhvSeries, {1, kNaN}, Series({1, 1}),
       {1, kLowest}},
      {"the shorter period series bounds the result", LlvSeries, {4, 3, 2, 1}, Series({2, 2}),
       {4, 3}},
      {"documented: a window with no hit", HhvBarsSeries, {5, 5, 1}, Series({3, 3, 3}), {0, 1, 2}},
      {"per-bar lows report the earliest too", LlvBarsSeries, {1, 1, 5}, Series({3, 3, 3}),
       {0, 1, 2}},
      {"0 starts at the first valid bar", HhvBarsSeries, {INV, 4, 6, 5}, Series({0, 0, 0, 0}),
       {INV, 0, 0, 1}},
      {"negative period: invalid; below 1: the bar itself", HhvBarsSeries, {3, 1, 2},
       Series({1, -1, 0.5}), {0, INV, 0}},
      // Fresh queue over 0..4: 3 at bar 1 stays in front of the NaN at bar 2.
      {"a NaN fences off the bars after it", HhvBarsSeries, {1, 3, kNaN, 9, 2},
       Series({5, 5, 5, 5, 5}), {0, 0, 1, 2, 3}},
      // i=3: window 2..3 opens with the NaN, which is the front.
      {"a NaN opening the window is its front", HhvBarsSeries, {1, 3, kNaN, 9, 2},
       Series({2, 2, 2, 2, 2}), {0, 0, 1, 1, 1}},
  });
}

TEST(RankAndRangeTest, HodLodAndRanges) {
  RunCases({
      {"documented HOD", HodConst, {1, 3, 2}, Number(3), {1, 1, 2}},
      {"documented LOD", LodConst, {1, 3, 2}, Number(3), {1, 2, 2}},
      // i=2 compares with bar 1 only (3 > 2); i=3 with bar 2 (2 < 5).
      {"window of two", HodConst, {1, 3, 2, 5}, Number(2), {1, 1, 2, 1}},
      {"0 compares with nothing", HodConst, {1, 3, 2}, Number(0), {1, 1, 1}},
      {"invalid bars rank invalid; earlier invalid values count as -100000", LodConst,
       {INV, 5, 4}, Number(3), {INV, 2, 2}},
      {"equal values do not count", HodConst, {2, 2, 2}, Number(3), {1, 1, 1}},
      {"a long window is every bar so far", HodConst, {1, 3, 2}, Number(100), {1, 1, 2}},
      // g = 1: bar 0 (9) never enters a per-bar range; i=3 ranges over 1..2.
      {"per-bar HOD from the first bar where both are valid", HodSeries, {9, 1, 4, 2},
       Series({INV, 2, 5, 3}), {INV, 1, 1, 2}},
      {"per-bar LOD", LodSeries, {9, 1, 4, 2}, Series({INV, 2, 5, 3}), {INV, 1, 2, 2}},
      {"documented TOPRANGE", TopRangeOf, {5, 1, 2, 3}, Number(0), {0, 0, 1, 2}},
      {"documented: no higher bar gives the index", TopRangeOf, {1, 2, 3}, Number(0), {0, 1, 2}},
      {"equal values are walked over", TopRangeOf, {2, 2, 2}, Number(0), {0, 1, 2}},
      {"invalid bars: invalid, and walked over as -100000", TopRangeOf, {INV, 2, INV, 1},
       Number(0), {INV, 1, INV, 1}},
      {"a NaN stops every walk and walks nowhere", TopRangeOf, {1, kNaN, 2, 3}, Number(0),
       {0, 0, 0, 1}},
      {"LOWRANGE", LowRangeOf, {1, 5, 4, 3}, Number(0), {0, 0, 1, 2}},
      {"LOWRANGE with no lower bar", LowRangeOf, {3, 2, 1}, Number(0), {0, 1, 2}},
  });
}

}  // namespace
