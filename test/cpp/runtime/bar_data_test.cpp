// Bar rows become number columns once; short keys win unless their text is empty.

#include <gtest/gtest.h>

#include <cmath>

#include "compiler/bar_data.h"
#include "strategy/util/strategy_util.h"

namespace {

using TextRow = BarData::TextRow;

struct FieldCase {
  TextRow row;
  double close;
  double vol;
};

TEST(BarData, ShortKeyThenLongKey) {
  const FieldCase cases[] = {
      {{{"c", "10.5"}, {"close", "11"}}, 10.5, 0},
      {{{"c", ""}, {"close", "11"}}, 11, 0},
      {{{"close", "11"}}, 11, 0},
      {{}, 0, 0},
      {{{"c", "12abc"}, {"v", "1200"}}, 12, 1200},
      {{{"c", "abc"}, {"vol", "1200"}}, 0, 1200},
      {{{"c", "undefined"}, {"v", "", }, {"vol", "7"}}, 0, 7},
  };
  for (const FieldCase& c : cases) {
    BarRow bar = BarData::RowFromText(c.row);
    EXPECT_EQ(bar.close, c.close);
    EXPECT_EQ(bar.vol, c.vol);
  }
}

BarRow Close(double value) {
  BarRow row;
  row.close = value;
  return row;
}

// Each mutator, the closes after it and the first row it reports changed.
TEST(BarData, MutatorsAndTheFirstRowTheyChange) {
  const double opens[] = {5, 6};
  const double times[] = {100, NAN};
  const BarColumns two{2, opens, opens, opens, opens, nullptr, times};  // no volume column
  const struct {
    const char* note;
    void (*change)(BarData&, const BarColumns&);
    std::vector<double> closes;
    size_t first;
  } steps[] = {
      {"replace on none appends", [](BarData& b, const BarColumns&) { b.ReplaceLast(Close(1)); }, {1}, 0},
      {"append", [](BarData& b, const BarColumns&) { b.Append({Close(2), Close(3)}); }, {1, 2, 3}, 1},
      {"append none", [](BarData& b, const BarColumns&) { b.Append(std::vector<BarRow>{}); }, {1, 2, 3}, 3},
      {"prepend columns", [](BarData& b, const BarColumns& c) { b.Prepend(c); }, {5, 6, 1, 2, 3}, 0},
      {"replace last", [](BarData& b, const BarColumns&) { b.ReplaceLast(Close(30)); }, {5, 6, 1, 2, 30}, 4},
      {"append columns", [](BarData& b, const BarColumns& c) { b.Append(c); }, {5, 6, 1, 2, 30, 5, 6}, 5},
      {"append bars stored one after another",
       [](BarData& b, const BarColumns&) {
         // Fields in the order c, o, h, l, t, v; the NaN close loads as the positive NaN.
         static const double rows[] = {8, 1, 1, 1, 200, 1, -NAN, 1, 1, 1, 300, 1};
         BarColumns stored{2, rows, rows + 1, rows + 2, rows + 3, rows + 5, rows + 4, 6, true};
         b.Append(stored);
         EXPECT_FALSE(std::signbit(b.Close()[8]));
         EXPECT_EQ(b.Time()[8], 300);
         b.ReplaceLast(BarColumns{1, rows, rows + 1, rows + 2, rows + 3, rows + 5, rows + 4, 6});
       },
       {5, 6, 1, 2, 30, 5, 6, 8, 8}, 7},
      {"assign", [](BarData& b, const BarColumns&) { b.Assign({Close(7)}); }, {7}, 0},
  };
  BarData bars;
  for (const auto& step : steps) {
    const uint64_t before = bars.Version();
    step.change(bars, two);
    EXPECT_EQ(bars.Close(), step.closes) << step.note;
    EXPECT_EQ(bars.FirstChangedSince(before), step.first) << step.note;
    for (const std::vector<double>* column : {&bars.Open(), &bars.Volume(), &bars.Time()}) {
      EXPECT_EQ(column->size(), step.closes.size()) << step.note;
    }
  }
  // Columns without volume read 0; a NaN time is a bar without time.
  bars.Assign(two);
  EXPECT_EQ(bars.Volume(), (std::vector<double>{0, 0}));
  EXPECT_TRUE(bars.HasTime(0));
  EXPECT_FALSE(bars.HasTime(1));
  EXPECT_FALSE(BarData(std::vector<BarRow>(1)).HasTime(0));
}

TEST(StrategyUtil, CountsAndWindowStarts) {
  EXPECT_EQ(ToCount(3.9), 3u);
  EXPECT_EQ(ToCount(0.5), 0u);
  EXPECT_EQ(ToCount(-2), 0u);
  EXPECT_EQ(ToCount(std::nan("")), 0u);
  // Counts past 2^64 wrap: CountConversion.WrapsModulo2To64.
  EXPECT_EQ(AddCount(UINT64_MAX - 1, 5), UINT64_MAX);
  EXPECT_EQ(WindowStart(10, 3), 8);
  EXPECT_EQ(WindowStart(10, 2.5), 8);     // 8.5 truncates toward zero
  EXPECT_EQ(WindowStart(0, 1.5), 0);      // -0.5 truncates to 0
  EXPECT_EQ(WindowStart(0, 2.5), -1);
  EXPECT_EQ(WindowStart(0, 3), -2);
  EXPECT_EQ(WindowStart(0, 1e12), INT32_MIN);
  EXPECT_EQ(WindowStart(0, -1e12), INT32_MIN);
  EXPECT_EQ(WindowStart(5, std::nan("")), INT32_MIN);
  EXPECT_EQ(WindowStartFrom(4, 10, 1e12), 4);
  EXPECT_EQ(WindowStartFrom(4, 10, 0), 11);  // a period below 1 leaves the window empty
  EXPECT_EQ(FirstValidBar({kInvalidValue, std::nan(""), 1}), 1u);
  EXPECT_EQ(FirstValidBar({kInvalidValue}), 1u);
}

}  // namespace
