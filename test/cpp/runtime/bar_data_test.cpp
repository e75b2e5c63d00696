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

TEST(BarData, AppendPrependReplace) {
  BarData bars;
  bars.ReplaceLast(Close(1));  // with no rows it appends
  bars.Append({Close(2), Close(3)});
  bars.Prepend({Close(-1), Close(0)});
  bars.ReplaceLast(Close(30));
  EXPECT_EQ(bars.Close(), (std::vector<double>{-1, 0, 1, 2, 30}));
  EXPECT_EQ(bars.Open().size(), 5u);
  bars.Assign({Close(7)});
  EXPECT_EQ(bars.Close(), (std::vector<double>{7}));
}

TEST(StrategyUtil, CountsAndWindowStarts) {
  EXPECT_EQ(ToCount(3.9), 3u);
  EXPECT_EQ(ToCount(0.5), 0u);
  EXPECT_EQ(ToCount(-2), 0u);
  EXPECT_EQ(ToCount(std::nan("")), 0u);
  // Counts wrap modulo 2^64 as unsigned arithmetic does.
  const struct {
    double n;
    uint64_t want;
  } wraps[] = {{9223372036854775808.0, 9223372036854775808u},
               {1.8e19, 18000000000000000000u},
               {18446744073709551616.0, 0},
               {18446744073709555712.0, 4096},  // 2^64 + 2^12
               {1e300, 0},
               {INFINITY, 0},
               {-INFINITY, 0}};
  for (const auto& row : wraps) EXPECT_EQ(ToCount(row.n), row.want) << row.n;
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
