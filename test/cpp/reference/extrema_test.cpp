// Window extremes (HHV, LLV, HHVBARS, LLVBARS), ranks (HOD, LOD) and ranges
// (TOPRANGE, LOWRANGE) on short series, through Exec; expected values are
// worked out by hand in the notes, "documented" cases come from the
// function reference.

#include "reference_strategies.h"

namespace {

const Maker kHhv = &Make<HhvStrategy>, kLlv = &Make<LlvStrategy>;
const Maker kHhvBars = &Make<HhvBarsStrategy>, kLlvBars = &Make<LlvBarsStrategy>;

TEST(WindowExtremeTest, ConstantPeriods) {
  ExpectExecCases({
      {"documented: short windows at the start", kHhv, {Series({1, 3, 2, 0, 1}), Number(3)},
       {1, 3, 3, 3, 2}},
      {"0 is the running maximum since the first valid bar", kHhv,
       {Series({INV, 2, 1, 3, 2}), Number(0)}, {INV, 2, 2, 3, 3}},
      {"NaN period: all history", kHhv, {Series({1, 3, 2}), Number(kNaN)}, {1, 3, 3}},
      // i=3: bars up to trunc(3-2.5)=0 leave, window 1..3; i=4: window 2..4.
      {"2.5 keeps three bars", kHhv, {Series({5, 1, 1, 1, 2}), Number(2.5)}, {5, 5, 5, 1, 2}},
      // -100000 beats -200000 once it is in the window, and reads 0.
      {"an invalid maximum reads 0", kHhv, {Series({-200000, INV, INV}), Number(2)},
       {-200000, 0, 0}},
      // i=2: the NaN at 1 blocks nothing behind it and is never evicted.
      {"NaN enters the queue and can be its front", kHhv, {Series({1, kNaN, 0, 0}), Number(2)},
       {1, 1, kNaN, 0}},
      {"documented: an invalid value in the window reads 0", kLlv,
       {Series({5, INV, 6, 7, 8}), Number(3)}, {5, 0, 0, 0, 6}},
      {"2.9 truncates to 2", kLlv, {Series({3, 1, 2, 4}), Number(2.9)}, {3, 1, 1, 2}},
      {"documented: the earlier of equal highs", kHhvBars, {Series({5, 5, 1}), Number(3)},
       {0, 1, 2}},
      {"documented: the later of equal lows", kLlvBars, {Series({1, 1, 5}), Number(3)}, {0, 0, 1}},
      {"running form: the earlier of equal lows", kLlvBars, {Series({1, 1, 5}), Number(0)},
       {0, 1, 2}},
      {"running form from the first valid bar", kHhvBars, {Series({INV, 2, 3, 3, 1}), Number(0)},
       {INV, 0, 0, 1, 2}},
  });
}

TEST(WindowExtremeTest, PerBarPeriods) {
  ExpectExecCases({
      {"documented: the true maximum of negative values", kHhv,
       {Series({-3, -1, -2}), Series({3, 3, 3})}, {-3, -1, -1}},
      // i=4: period 9 reaches past bar 0 and stops there.
      {"windows of 2, 3, 1 and 9 bars", kHhv,
       {Series({1, 5, 3, 4, 2, 6}), Series({2, 2, 3, 1, 9, 2})}, {1, 5, 5, 4, 5, 6}},
      {"0, negative and NaN periods give the bar's own value", kHhv,
       {Series({1, 5, 3, 4}), Series({1, 0, -3, kNaN})}, {1, 5, 3, 4}},
      {"bars before the first valid bar take part", kLlv,
       {Series({INV, 5, 4, 6}), Series({3, 3, 3, 3})}, {INV, 5, 0, 4}},
      {"a window of NaN alone gives the lowest double", kHhv, {Series({1, kNaN}), Series({1, 1})},
       {1, std::numeric_limits<double>::lowest()}},
      {"documented: a window with no hit", kHhvBars, {Series({5, 5, 1}), Series({3, 3, 3})},
       {0, 1, 2}},
      {"per-bar lows report the earliest too", kLlvBars, {Series({1, 1, 5}), Series({3, 3, 3})},
       {0, 1, 2}},
      {"negative period: invalid; below 1: the bar itself", kHhvBars,
       {Series({3, 1, 2}), Series({1, -1, 0.5})}, {0, INV, 0}},
      // Fresh queue over 0..4: 3 at bar 1 stays in front of the NaN at bar 2.
      {"a NaN fences off the bars after it", kHhvBars,
       {Series({1, 3, kNaN, 9, 2}), Series({5, 5, 5, 5, 5})}, {0, 0, 1, 2, 3}},
      // i=3: window 2..3 opens with the NaN, which is the front.
      {"a NaN opening the window is its front", kHhvBars,
       {Series({1, 3, kNaN, 9, 2}), Series({2, 2, 2, 2, 2})}, {0, 0, 1, 1, 1}},
  });
}

TEST(RankAndRangeTest, HodLodAndRanges) {
  const Maker hod = &Make<HodStrategy>, lod = &Make<LodStrategy>;
  const Maker top = &Make<TopRangeStrategy>, low = &Make<LowRangeStrategy>;
  ExpectExecCases({
      {"documented HOD", hod, {Series({1, 3, 2}), Number(3)}, {1, 1, 2}},
      {"documented LOD", lod, {Series({1, 3, 2}), Number(3)}, {1, 2, 2}},
      // i=2 compares with bar 1 only (3 > 2); i=3 with bar 2 (2 < 5).
      {"window of two", hod, {Series({1, 3, 2, 5}), Number(2)}, {1, 1, 2, 1}},
      {"0 compares with nothing", hod, {Series({1, 3, 2}), Number(0)}, {1, 1, 1}},
      {"invalid bars rank invalid; earlier invalid values count as -100000", lod,
       {Series({INV, 5, 4}), Number(3)}, {INV, 2, 2}},
      {"equal values do not count", hod, {Series({2, 2, 2}), Number(3)}, {1, 1, 1}},
      // g = 1: bar 0 (9) never enters a per-bar range; i=3 ranges over 1..2.
      {"per-bar HOD from the first bar where both are valid", hod,
       {Series({9, 1, 4, 2}), Series({INV, 2, 5, 3})}, {INV, 1, 1, 2}},
      {"per-bar LOD", lod, {Series({9, 1, 4, 2}), Series({INV, 2, 5, 3})}, {INV, 1, 2, 2}},
      {"documented TOPRANGE", top, {Series({5, 1, 2, 3}), Number(0)}, {0, 0, 1, 2}},
      {"documented: no higher bar gives the index", top, {Series({1, 2, 3}), Number(0)},
       {0, 1, 2}},
      {"invalid bars: invalid, and walked over as -100000", top,
       {Series({INV, 2, INV, 1}), Number(0)}, {INV, 1, INV, 1}},
      {"a NaN stops every walk and walks nowhere", top, {Series({1, kNaN, 2, 3}), Number(0)},
       {0, 0, 0, 1}},
      {"LOWRANGE", low, {Series({1, 5, 4, 3}), Number(0)}, {0, 0, 1, 2}},
  });
}

}  // namespace
