// Counting and bars-since functions on short series, through Exec; expected
// values are worked out by hand ("documented" ones come from the function
// reference).

#include "reference_strategies.h"

namespace {

TEST(CountingTest, CountAndBarsSinceN) {
  const Maker count = &Make<CountStrategy>, since = &Make<BarsSinceNStrategy>;
  ExpectExecCases({
      {"documented COUNT(X,3)", count, {Series({1, 0, 1, 1, 0}), Number(3)}, {1, 1, 2, 2, 2}},
      {"documented COUNT(X,0)", count, {Series({1, 0, 1, 1, 0}), Number(0)}, {1, 1, 2, 3, 3}},
      {"invalid lead-in, short history after it", count, {Series({INV, 1, 1, 0, 1}), Number(2)},
       {INV, 1, 2, 1, 1}},
      {"NaN, negative and invalid values do not hold", count,
       {Series({1, kNaN, -1, INV, 2}), Number(0)}, {1, 1, 1, 1, 2}},
      // i=1: 2.9 -> 2 bars; i=2: 0 cumulative; i=3: -1 cumulative; i=4: 1 bar.
      {"per-bar 1, 2.9, 0, -1, 1", count, {Series({1, 1, 0, 1, 0}), Series({1, 2.9, 0, -1, 1})},
       {1, 2, 2, 3, 0}},
      {"the shorter period series bounds the result", count, {Series({1, 1, 1}), Series({2})},
       {1}},
      {"documented BARSSINCEN(X,2)", since, {Series({1, 0, 0}), Number(2)}, {0, 1, 0}},
      {"documented per-bar: no hit gives the bar index", since,
       {Series({1, 0, 0}), Series({2, 2, 2})}, {0, 1, 2}},
      // i=4: window 2..4, oldest hit at bar 2.
      {"oldest hit in the window", since, {Series({0, 1, 1, 0, 0}), Number(3)}, {0, 0, 1, 2, 2}},
      {"0 gives 0 from the first valid bar", since, {Series({INV, 1, 1}), Number(0)}, {INV, 0, 0}},
      // i=2: period 0.5 keeps bar 2 alone; i=3: period 0 keeps no bar, which
      // gives the bar index.
      {"per-bar windows of one and no bar", since, {Series({1, 1, 1, 1}), Series({3, 3, 0.5, 0})},
       {0, 1, 0, 3}},
  });
}

TEST(CountingTest, BarsSinceFamily) {
  const Maker last = &Make<BarsLastStrategy>, next = &Make<BarsNextStrategy>;
  ExpectExecCases({
      {"documented BARSCOUNT", &Make<BarsCountStrategy>, {Series({INV, INV, 5, 6})},
       {INV, INV, 0, 1}},
      {"documented BARSLAST", last, {Series({0, 0, 1, 0})}, {0, 1, 0, 1}},
      {"BARSLAST: bar 0 is 0 whatever it holds", last, {Series({1, 0})}, {0, 1}},
      {"BARSLAST: a later first valid bar that does not hold reads 1", last,
       {Series({INV, 0, 0, 1})}, {INV, 1, 2, 0}},
      {"documented BARSNEXT", next, {Series({0, 0, 1, 0})}, {2, 1, 1, 0}},
      {"BARSNEXT never holding: distance to the last bar", next, {Series({1, 0, 0})}, {2, 1, 0}},
      {"BARSNEXT ignores invalid lead-ins", next, {Series({INV, INV, 1})}, {2, 1, 0}},
      {"documented BARSSINCE", &Make<BarsSinceStrategy>, {Series({0, 1, 0, 1})}, {0, 0, 1, 2}},
      {"BARSSINCE: NaN holds", &Make<BarsSinceStrategy>, {Series({INV, 0, kNaN, 0})},
       {INV, 0, 0, 1}},
      {"documented CURRBARSCOUNT", &Make<CurrBarsCountStrategy>, {Series({5, 6, 7, 8})},
       {3, 2, 1, 0}},
      {"documented TOTALBARSCOUNT", &Make<TotalBarsCountStrategy>, {Series({5, INV, 7, 8})},
       {4, 4, 4, 4}},
  });
}

TEST(CountingTest, BarRowPositions) {
  struct RowCase {
    size_t rows;
    std::vector<double> status, last;
  };
  const RowCase cases[] = {{3, {1, 0, 2}, {0, 0, 1}}, {1, {2}, {1}}, {0, {}, {}}};
  for (const RowCase& c : cases) {
    EXPECT_SERIES(Call<BarStatusStrategy>({}, c.rows).getRawData(), (c.status));
    EXPECT_SERIES(Call<IsLastBarStrategy>({}, c.rows).getRawData(), (c.last));
  }
}

}  // namespace
