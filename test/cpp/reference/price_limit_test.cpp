// ZTPRICE and DTPRICE: plain products, no rounding to a price tick.

#include "series_expect.h"
#include "strategy/reference/dt_price_strategy.h"
#include "strategy/reference/zt_price_strategy.h"

namespace {

TEST(PriceLimitTest, ConstantRatio) {
  struct Case {
    const char* note;
    std::vector<double> x;
    double r;
    std::vector<double> want_up, want_down;
  };
  const Case cases[] = {
      {"worked example", {10}, 0.1, {11}, {9}},
      // Product first, then the sum: not 10.5 * 1.1.
      {"no rounding", {10.5}, 0.1, {10.5 * 0.1 + 10.5}, {10.5 - 10.5 * 0.1}},
      {"invalid price bar", {10, INV, 20}, 0.5, {15, INV, 30}, {5, INV, 10}},
      {"invalid ratio", {10, 20}, INV, {INV, INV}, {INV, INV}},
      {"empty", {}, 0.1, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(ZtPrice(Series(c.x), c.r).getRawData(), (c.want_up));
    EXPECT_SERIES(DtPrice(Series(c.x), c.r).getRawData(), (c.want_down));
  }
}

TEST(PriceLimitTest, PerBarRatio) {
  struct Case {
    const char* note;
    std::vector<double> x, r, want_up, want_down;
  };
  const Case cases[] = {
      {"ratio per bar", {10, 10}, {0.1, 0.5}, {11, 15}, {9, 5}},
      {"invalid ratio bar", {10, 10}, {INV, 0.5}, {INV, 15}, {INV, 5}},
      {"shorter ratio series", {10, 10, 10}, {0.5}, {15}, {5}},
      {"empty ratio series", {10}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(ZtPrice(Series(c.x), Series(c.r)).getRawData(), (c.want_up));
    EXPECT_SERIES(DtPrice(Series(c.x), Series(c.r)).getRawData(), (c.want_down));
  }
}

}  // namespace
