// Moving averages through Exec, a number period for the constant variant and
// a series for the per-bar one. Expected values are hand-computed from the
// stated recurrences; where a value is not a short decimal the expression
// that produces it is written instead, in the function's order of operations.

#include "reference_strategies.h"

namespace {

const Maker kMa = &Make<MaStrategy>, kWma = &Make<WmaStrategy>;
const Maker kEma = &Make<EmaStrategy>, kSma = &Make<SmaStrategy>;
const Maker kMema = &Make<MemaStrategy>, kDma = &Make<DmaStrategy>;

TEST(MaTest, ConstantAndPerBarPeriod) {
  ExpectExecCases({
      {"worked example", kMa, {Series({1, 2, 3, 4, 5}), Number(3)}, {INV, INV, 2, 3, 4}},
      {"two invalid lead-in bars: first average at 4 over 2..4", kMa,
       {Series({INV, INV, 3, 6, 9, 12}), Number(3)}, {INV, INV, INV, INV, 6, 9}},
      // Window [0,1] = 2 + gap -> 2/2; [1,2] = gap + 4 -> 4/2; [2,3] -> 10/2.
      {"gap after the first valid bar counts as 0", kMa, {Series({2, INV, 4, 6}), Number(2)},
       {INV, 1, 2, 5}},
      {"period 0 is empty", kMa, {Series({1, 2, 3}), Number(0)}, {}},
      // The running sum carries a NaN forward: it is never subtracted away.
      {"NaN enters the running sum", kMa, {Series({1, kNaN, 3, 4}), Number(2)},
       {INV, kNaN, kNaN, kNaN}},
      {"per-bar: shortened windows near the first bar", kMa,
       {Series({1, 2, 3, 4}), Series({3, 3, 3, 3})}, {1, 1.5, 2, 3}},
      {"per-bar: period 0 at one bar", kMa, {Series({1, 2, 3}), Series({1, 0, 2})},
       {1, INV, 2.5}},
      // (2 + skipped) / 2 and (2 + skipped + 4) / 3.
      {"per-bar: gap counts in the divisor", kMa, {Series({2, INV, 4}), Series({3, 3, 3})},
       {2, 1, 2}},
      // i - n + 1 beyond the 32-bit range: the window falls back to bar f.
      {"per-bar: start out of range is cumulative", kMa, {Series({2, 4}), Series({-1, -1e300})},
       {INV, 3}},
      // Starts trunc(i - 0.5): 0, 0, 1.
      {"per-bar: fractional period", kMa, {Series({2, 4, 6}), Series({1.5, 1.5, 1.5})},
       {2, 3, 5}},
      {"per-bar: shorter period series bounds the result", kMa,
       {Series({1, 2, 3, 4}), Series({2, 2})}, {1, 1.5}},
  });
}

TEST(WmaTest, ConstantAndPerBarPeriod) {
  ExpectExecCases({
      // (1*1 + 2*2 + 3*3) / (1 + 2 + 3).
      {"worked example", kWma, {Series({1, 2, 3}), Number(3)}, {INV, INV, 14.0 / 6.0}},
      {"period 0: NaN from the first valid bar", kWma, {Series({INV, 1, 2}), Number(0)},
       {INV, kNaN, kNaN}},
      // [0,1]: 1*1 / 3; [1,2]: gap skipped, 2*3 / 3.
      {"gap keeps its weight in the divisor", kWma, {Series({1, INV, 3}), Number(2)},
       {INV, 1.0 / 3.0, 2}},
      {"lead-in", kWma, {Series({INV, 1, 2, 3}), Number(2)}, {INV, INV, 5.0 / 3.0, 8.0 / 3.0}},
      {"huge period", kWma, {Series({1, 2}), Number(1e300)}, {INV, INV}},
      {"per-bar: shortened windows weighted from 1", kWma,
       {Series({1, 2, 3}), Series({3, 3, 3})}, {1, 5.0 / 3.0, 14.0 / 6.0}},
      // Window restarts at bar 1 then grows back to [1,2]: 1*2 + 2*3 over 3.
      {"per-bar: moving start", kWma, {Series({9, 2, 3}), Series({1, 1, 2})}, {9, 2, 8.0 / 3.0}},
  });
}

TEST(RecursiveAverageTest, EmaAndSma) {
  ExpectExecCases({
      // t = 40 / 4 = 10; e = 10 * 2 / 4 + 10 = 15.
      {"EMA: gap keeps the average", kEma, {Series({10, INV, 20}), Series({3, 3, 3})},
       {10, INV, 15}},
      {"EMA: seeded at the first valid bar", kEma, {Series({INV, 2, 4}), Series({1, 1, 1})},
       {INV, 2, 4}},
      // e1 = 1 * 2 / 4 + 4 / 4 = 1.5; e2 = 1.5 * 0 / 2 + 6 / 2 = 3.
      {"EMA: period read per bar", kEma, {Series({1, 2, 3}), Series({1, 3, 1})}, {1, 1.5, 3}},
      {"EMA: NaN is a value", kEma, {Series({kNaN, 1}), Series({3, 3})}, {kNaN, kNaN}},
      {"SMA: M = N follows X after the seed", kSma,
       {Series({1, 5, 3}), Series({2, 2, 2}), Series({2, 2, 2})}, {1, 5, 3}},
      {"SMA: gap keeps the average", kSma,
       {Series({10, INV, 20}), Series({3, 3, 3}), Series({1, 1, 1})},
       {10, INV, 10.0 * (3 - 1) / 3 + 20.0 * 1 / 3}},
      // e = 1 * (2 - 1) / 2 + 2 * 1 / 2.
      {"SMA: shortest of the three bounds the result", kSma,
       {Series({1, 2, 3}), Series({2, 2, 2}), Series({1, 1})}, {1, 1.5}},
  });
}

TEST(MemaDmaTest, ConstantAndPerBarParameter) {
  ExpectExecCases({
      // (4 * 1 + 8) / 2 = 6; (6 + 8) / 2 = 7.
      {"MEMA recurrence", kMema, {Series({4, 8, 8}), Number(2)}, {4, 6, 7}},
      {"MEMA: gap decays by (N - 1) / N", kMema, {Series({4, INV, 8}), Number(2)}, {4, 2, 5}},
      {"MEMA lead-in", kMema, {Series({INV, 3, 6}), Number(3)}, {INV, 3, 4}},
      // (1 * -1 + 3) / 0.
      {"MEMA: period 0 divides by zero", kMema, {Series({1, 3}), Number(0)}, {1, kInf}},
      {"MEMA per-bar: a bar after an invalid output restarts from 0", kMema,
       {Series({4, 8, 8, 6}), Series({2, 2, 0, 2})}, {4, 6, INV, 3}},
      {"MEMA per-bar: the first valid bar ignores its period", kMema,
       {Series({INV, 5}), Series({0, 0})}, {INV, 5}},
      // 10*.5 + 20*.5 = 15; 15*.5 + 0 = 7.5; 7.5*.5 + 40*.5 = 23.75.
      {"DMA: recurrence with a gap read as 0", kDma, {Series({10, 20, INV, 40}), Number(0.5)},
       {10, 15, 7.5, 23.75}},
      {"DMA: invalid weight passes X through", kDma, {Series({10, 20}), Number(INV)}, {10, 20}},
      {"DMA lead-in", kDma, {Series({INV, 8, 4}), Number(0.25)}, {INV, 8, 7}},
      {"DMA: NaN weight is used", kDma, {Series({10, 20}), Number(kNaN)}, {10, kNaN}},
      // Bar 1 passes the gap through (weight 1); bar 2 follows an invalid
      // output and restarts from x; bar 3: (1 - .5) * 30 + 50 * .5.
      {"DMA per-bar: degenerate weight, then restart", kDma,
       {Series({10, INV, 30, 50}), Series({0.5, 1, 0.5, 0.5})}, {10, INV, 30, 40}},
  });
}

}  // namespace
