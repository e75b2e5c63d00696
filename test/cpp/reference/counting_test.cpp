// Counting and bars-since functions on short series, expected values worked
// out by hand ("documented" ones come from the function reference).

#include <limits>
#include <memory>

#include "series_expect.h"
#include "strategy/reference/bar_status_strategy.h"
#include "strategy/reference/bars_count_strategy.h"
#include "strategy/reference/bars_last_strategy.h"
#include "strategy/reference/bars_next_strategy.h"
#include "strategy/reference/bars_since_n_strategy.h"
#include "strategy/reference/bars_since_strategy.h"
#include "strategy/reference/count_strategy.h"
#include "strategy/reference/curr_bars_count_strategy.h"
#include "strategy/reference/is_last_bar_strategy.h"
#include "strategy/reference/total_bars_count_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Case {
  const char* note;
  DataExt (*run)(const DataExt& x, const DataExt& n);
  std::vector<double> x;
  DataExt n;  // a number (constant count), a series (per-bar) or unused
  std::vector<double> want;
};

DataExt CountConst(const DataExt& x, const DataExt& n) {
  return Count(x, ToCount(n.getSingleNumber()));
}
DataExt CountSeries(const DataExt& x, const DataExt& n) { return Count2(x, n); }
DataExt SinceNConst(const DataExt& x, const DataExt& n) {
  return BarsSinceN(x, ToCount(n.getSingleNumber()));
}
DataExt SinceNSeries(const DataExt& x, const DataExt& n) { return BarsSinceN(x, n); }
DataExt BarsCountOf(const DataExt& x, const DataExt&) { return BarsCount(x); }
DataExt BarsLastOf(const DataExt& x, const DataExt&) { return BarsLast(x); }
DataExt BarsNextOf(const DataExt& x, const DataExt&) { return BarsNext(x); }
DataExt BarsSinceOf(const DataExt& x, const DataExt&) { return BarsSince(x); }
DataExt CurrOf(const DataExt& x, const DataExt&) { return CurrBarsCount(x); }
DataExt TotalOf(const DataExt& x, const DataExt&) { return TotalBarsCount(x); }

TEST(CountingTest, CountAndBarsSinceN) {
  const std::vector<Case> cases = {
      {"documented COUNT(X,3)", CountConst, {1, 0, 1, 1, 0}, Number(3), {1, 1, 2, 2, 2}},
      {"documented COUNT(X,0)", CountConst, {1, 0, 1, 1, 0}, Number(0), {1, 1, 2, 3, 3}},
      {"invalid lead-in, short history after it", CountConst, {INV, 1, 1, 0, 1}, Number(2),
       {INV, 1, 2, 1, 1}},
      {"NaN, negative and invalid values do not hold", CountConst, {1, kNaN, -1, INV, 2},
       Number(0), {1, 1, 1, 1, 2}},
      {"negative count is 0: cumulative", CountConst, {1, 1, 1}, Number(-4), {1, 2, 3}},
      {"huge count: every bar so far", CountConst, {1, 0, 1}, Number(1e300), {1, 1, 2}},
      {"per-bar 3 as the constant", CountSeries, {1, 0, 1, 1, 0}, Series({3, 3, 3, 3, 3}),
       {1, 1, 2, 2, 2}},
      // i=1: 2.9 -> 2 bars; i=2: 0 cumulative; i=3: -1 cumulative; i=4: 1 bar.
      {"per-bar 1, 2.9, 0, -1, 1", CountSeries, {1, 1, 0, 1, 0}, Series({1, 2.9, 0, -1, 1}),
       {1, 2, 2, 3, 0}},
      {"per-bar NaN is cumulative from the first valid bar", CountSeries, {INV, 1, 1},
       Series({kNaN, kNaN, kNaN}), {INV, 1, 2}},
      {"the shorter period series bounds the result", CountSeries, {1, 1, 1}, Series({2}), {1}},
      {"documented BARSSINCEN(X,2)", SinceNConst, {1, 0, 0}, Number(2), {0, 1, 0}},
      {"documented per-bar: no hit gives the bar index", SinceNSeries, {1, 0, 0},
       Series({2, 2, 2}), {0, 1, 2}},
      // i=4: window 2..4, oldest hit at bar 2.
      {"oldest hit in the window", SinceNConst, {0, 1, 1, 0, 0}, Number(3), {0, 0, 1, 2, 2}},
      {"0 gives 0 from the first valid bar", SinceNConst, {INV, 1, 1}, Number(0), {INV, 0, 0}},
      // i=2: period 0.5 keeps bar 2 alone; i=3: period 0 keeps no bar, which
      // gives the bar index.
      {"per-bar windows of one and no bar", SinceNSeries, {1, 1, 1, 1}, Series({3, 3, 0.5, 0}),
       {0, 1, 0, 3}},
  };
  for (const Case& c : cases) {
    EXPECT_SERIES(c.run(Series(c.x), c.n).getRawData(), (c.want)) << c.note;
  }
}

TEST(CountingTest, BarsSinceFamily) {
  const DataExt unused;
  const std::vector<Case> cases = {
      {"documented BARSCOUNT", BarsCountOf, {INV, INV, 5, 6}, unused, {INV, INV, 0, 1}},
      {"documented BARSLAST", BarsLastOf, {0, 0, 1, 0}, unused, {0, 1, 0, 1}},
      {"BARSLAST: bar 0 is 0 whatever it holds", BarsLastOf, {1, 0}, unused, {0, 1}},
      {"BARSLAST: a later first valid bar that does not hold reads 1", BarsLastOf,
       {INV, 0, 0, 1}, unused, {INV, 1, 2, 0}},
      {"documented BARSNEXT", BarsNextOf, {0, 0, 1, 0}, unused, {2, 1, 1, 0}},
      {"BARSNEXT never holding: distance to the last bar", BarsNextOf, {1, 0, 0}, unused,
       {2, 1, 0}},
      {"BARSNEXT ignores invalid lead-ins", BarsNextOf, {INV, INV, 1}, unused, {2, 1, 0}},
      {"BARSNEXT of nothing", BarsNextOf, {}, unused, {}},
      {"documented BARSSINCE", BarsSinceOf, {0, 1, 0, 1}, unused, {0, 0, 1, 2}},
      {"BARSSINCE: NaN holds", BarsSinceOf, {INV, 0, kNaN, 0}, unused, {INV, 0, 0, 1}},
      {"documented CURRBARSCOUNT", CurrOf, {5, 6, 7, 8}, unused, {3, 2, 1, 0}},
      {"documented TOTALBARSCOUNT", TotalOf, {5, INV, 7, 8}, unused, {4, 4, 4, 4}},
      {"TOTALBARSCOUNT of nothing", TotalOf, {}, unused, {}},
  };
  for (const Case& c : cases) {
    EXPECT_SERIES(c.run(Series(c.x), c.n).getRawData(), (c.want)) << c.note;
  }
}

TEST(CountingTest, BarRowPositions) {
  struct RowCase {
    size_t rows;
    std::vector<double> status;
    std::vector<double> last;
  };
  const std::vector<RowCase> cases = {
      {3, {1, 0, 2}, {0, 0, 1}},  // documented
      {1, {2}, {1}},
      {0, {}, {}},
  };
  for (const RowCase& c : cases) {
    Environment env;
    env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(c.rows));
    EXPECT_SERIES(BarStatusStrategy().Exec({}, env, nullptr).getRawData(), (c.status));
    EXPECT_SERIES(IsLastBarStrategy().Exec({}, env, nullptr).getRawData(), (c.last));
  }
}

}  // namespace
