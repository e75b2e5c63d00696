// SAR and SARTURN traced by hand through the stop-and-reverse rules. Steps
// and limits in quarters keep every stop an exact binary fraction.

#include <memory>

#include "strategy/index/sar_strategy.h"
#include "strategy/index/sar_turn_strategy.h"
#include "strategy_test_util.h"

namespace {

// Columns: open, high, low, close.
BarData Bars(const std::vector<std::vector<double>>& ohlc) {
  std::vector<BarRow> rows;
  for (const auto& bar : ohlc) {
    BarRow row;
    row.open = bar[0], row.high = bar[1], row.low = bar[2], row.close = bar[3];
    rows.push_back(row);
  }
  return BarData(rows);
}

// Warm-up N = 2: lowest low 9, highest high 12; close(1) 11 > open(0) 10
// starts long at 9. With step 0.25 and limit 0.5:
//  bar 3  9 + 0.25 * (13 - 9) = 10 (ep 17, af 0.5)
//  bar 4  10 + 0.5 * (17 - 10) = 13.5, equal to the low: no reversal
//  bar 5  13.5 + 0.5 * (15 - 13.5) = 14.25 < low 14.5 (toward ep 17 it
//         would be 15.25 and reverse)
//  bar 6  14.25 + 0.5 * (16 - 14.25) = 15.125 > low 15: short at ep 17
//  bar 7  17 + 0.25 * (15 - 17) = 16.5, equal to the high: no reversal
//  bar 8  16.5 + 0.5 * (14 - 16.5) = 15.25 < high 15.5: long at min(14, 13)
//  bar 9  13 + 0.25 * (15.5 - 13) = 13.625
const BarData kBars = Bars({{10, 11, 9, 10},
                            {10, 12, 10, 11},
                            {11, 13, 11, 12},
                            {12, 17, 12, 16},
                            {16, 15, 13.5, 14},
                            {14, 16, 14.5, 15},
                            {15, 15.5, 15, 15},
                            {15, 16.5, 14, 14},
                            {14, 15.5, 13, 15},
                            {15, 16, 14, 15.5}});

struct SarCase {
  const char* name;
  BarData bars;
  unsigned long n, s, m;
  std::vector<double> sar;
  std::vector<double> turn;
};

TEST(SarTest, StopAndTurns) {
  const std::vector<SarCase> cases = {
      {"both reversals", kBars, 2, 25, 50,
       {INV, INV, 9, 10, 13.5, 14.25, 17, 16.5, 13, 13.625},
       {INV, INV, 0, 0, 0, 0, -1, 0, 1, 0}},
      // Step equal to the limit: af stays 0.25.
      {"step = limit", kBars, 2, 25, 25,
       {INV, INV, 9, 10, 11.75, 12.5625, 13.421875, 13.94140625, 17, 16},
       {INV, INV, 0, 0, 0, 0, 0, 0, -1, 0}},
      // af grows at bar 4 without a new extreme (0.75), so bar 5 reverses.
      {"af grows without new extreme", kBars, 2, 25, 75,
       {INV, INV, 9, 10, 13.5, 17, 16.375, 14, 16.5, 13},
       {INV, INV, 0, 0, 0, -1, 0, 1, -1, 1}},
      // close(0) - open(0) = 0 starts short at the highest high, 11.
      {"zero difference starts short", Bars({{10, 11, 9, 10}, {10, 12, 10, 11}, {11, 13, 11, 12}}),
       1, 25, 50, {INV, 11, 9}, {INV, 0, 1}},
      {"no more rows than N", Bars({{1, 2, 0, 1}, {1, 2, 0, 1}, {1, 2, 0, 1}}), 3, 2, 20, {}, {}},
      {"one row past N", Bars({{1, 2, 0, 1}, {1, 2, 0, 1}, {1, 2, 0, 1}, {1, 2, 0, 1}}), 3, 2,
       20, {INV, INV, INV, 2}, {INV, INV, INV, 0}},
      {"N = 0", Bars({{1, 2, 0, 1}, {1, 2, 0, 1}}), 0, 2, 20, {0, 0}, {0, 0}},
      {"step above limit", kBars, 3, 30, 20, {INV, INV, INV, 0, 0, 0, 0, 0, 0, 0},
       {INV, INV, INV, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const SarCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_SERIES(Sar(c.bars, c.n, c.s, c.m).getRawData(), (c.sar));
    EXPECT_SERIES(SarTurn(c.bars, c.n, c.s, c.m).getRawData(), (c.turn));
  }
}

TEST(SarTest, StrategiesTakeThreeNumbers) {
  Environment env;
  env.m_bars = std::make_shared<BarData>(kBars);
  SarStrategy sar;
  SarTurnStrategy turn;
  // Counts are truncated: 2.9 acts as 2, 25.5 as 25.
  EXPECT_SERIES(sar.Exec({Number(2.9), Number(25.5), Number(50)}, env, nullptr).getRawData(),
                {INV, INV, 9, 10, 13.5, 14.25, 17, 16.5, 13, 13.625});
  EXPECT_SERIES(turn.Exec({Number(2), Number(25), Number(50)}, env, nullptr).getRawData(),
                {INV, INV, 0, 0, 0, 0, -1, 0, 1, 0});
  // Negative and NaN counts act as 0; a huge N exceeds the rows.
  EXPECT_SERIES(sar.Exec({Number(-4), Number(2), Number(20)}, env, nullptr).getRawData(),
                {0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_SERIES(turn.Exec({Number(1e300), Number(2), Number(20)}, env, nullptr).getRawData(), {});

  // Prices that are NaN or infinite still give one value per bar.
  env.m_bars = std::make_shared<BarData>(Bars({{1, kNaN, kInf, -kInf}, {1, 2, 0, 1}}));
  EXPECT_EQ(sar.Exec({Number(1), Number(2), Number(20)}, env, nullptr).getRawData().size(), 2u);
  ExpectHostileArgumentsReturn(
      {{"SAR", &Make<SarStrategy>, 3}, {"SARTURN", &Make<SarTurnStrategy>, 3}});
  EXPECT_SERIES(sar.Exec({Number(2)}, env, nullptr).getRawData(), {});
}

}  // namespace
