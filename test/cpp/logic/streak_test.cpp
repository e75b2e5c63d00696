// UPNDAY, DOWNNDAY and NDAY: streak counters compared with a count given as
// a double; no first-valid-bar tracking (the invalid value is a number).
// Expected values are hand-computed from the streak written beside them.

#include "logic_strategies.h"

namespace {

struct StreakCase {
  const char* what;
  std::vector<double> x;
  double n;
  std::vector<double> expected;
};

TEST(UpNDay, NumberVariant) {
  // Rises of 1, 2, 3, 3, 4: streak 0, 1, 2, 0, 1.
  const std::vector<double> x = {1, 2, 3, 3, 4};
  const StreakCase cases[] = {
      {"n = 0 holds at bar 0 too", x, 0, {1, 1, 1, 1, 1}},
      {"n = 2", x, 2, {0, 0, 1, 0, 0}},
      {"n = 2.5 needs three rises", x, 2.5, {0, 0, 0, 0, 0}},
      {"nan n", x, kNaN, {0, 0, 0, 0, 0}},
      {"invalid compares as a number", {INV, 1, 2}, 1, {0, 1, 1}},
  };
  for (const StreakCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(UpNDay(Series(c.x), c.n).m_raw_data, (c.expected));
  }
}

TEST(UpNDay, SeriesVariantStopsAtTheShorterInput) {
  EXPECT_SERIES(UpNDay(Series({1, 2, 3, 4, 5}), Series({1, 1})).m_raw_data, ({0, 1, 0, 0, 0}));
  EXPECT_SERIES(UpNDay(Series({1, 2, 3}), Series({0, 3, 2})).m_raw_data, ({1, 0, 1}));
}

TEST(DownNDay, BothVariants) {
  // Falls of 3, 2, 1, 1, 0: streak 0, 1, 2, 0, 1.
  const std::vector<double> x = {3, 2, 1, 1, 0};
  EXPECT_SERIES(DownNDay(Series(x), 2).m_raw_data, ({0, 0, 1, 0, 0}));
  EXPECT_SERIES(DownNDay(Series(x), 0).m_raw_data, ({1, 1, 1, 1, 1}));
  EXPECT_SERIES(DownNDay(Series(x), Series({1, 1, 3})).m_raw_data, ({0, 1, 0, 0, 0}));
  // The invalid value is far below any price: a fall onto it counts.
  EXPECT_SERIES(DownNDay(Series({1, INV}), 1).m_raw_data, ({0, 1}));
}

TEST(NDay, BothVariants) {
  // x > y on 3, 3, 1, 3 against 2: streak 1, 2, 0, 1 (bar 0 counts).
  const DataExt x = Series({3, 3, 1, 3});
  EXPECT_SERIES(NDay(x, Series({2, 2, 2, 2}), 2).m_raw_data, ({0, 1, 0, 0}));
  EXPECT_SERIES(NDay(x, Series({2, 2, 2, 2}), 1).m_raw_data, ({1, 1, 0, 1}));
  EXPECT_SERIES(NDay(x, Series({2}), 1).m_raw_data, ({1, 0, 0, 0}));
  EXPECT_SERIES(NDay(x, Series({}), 0).m_raw_data, ({0, 0, 0, 0}));
  EXPECT_SERIES(NDay(x, Series({2, 2, 2, 2}), Series({1, 3, 0})).m_raw_data, ({1, 0, 1, 0}));
}

}  // namespace
