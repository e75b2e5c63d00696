// CROSS and LONGCROSS: hand-computed positions of crosses, the first valid
// bar, warm-up, per-bar windows; the linear-time LONGCROSS series variant is
// checked against a plain count-back over random series.

#include <climits>
#include <cmath>
#include <limits>
#include <random>

#include "series_expect.h"
#include "strategy/logic/cross_strategy.h"
#include "strategy/logic/long_cross_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct PairCase {
  const char* what;
  std::vector<double> a;
  std::vector<double> b;
  std::vector<double> expected;
};

TEST(Cross, Positions) {
  const PairCase cases[] = {
      {"cross at 1", {1, 3, 4}, {2, 2, 2}, {INV, 1, 0}},
      {"equal before is no cross", {1, 2, 3}, {2, 2, 2}, {INV, 0, 0}},
      {"lead-in on a: 0 at the first valid bar", {INV, 1, 3, 1, 3}, {2, 2, 2, 2, 2}, {INV, 0, 1, 0, 1}},
      {"lead-in on b", {5, 1, 3}, {INV, 2, 2}, {INV, 0, 1}},
      // After the first valid bar a gap is the number -100000.
      {"gap after the first valid bar", {1, INV, 3}, {2, 2, 2}, {INV, 0, 1}},
      {"shorter b", {1, 3, 4, 0}, {2, 2}, {INV, 1}},
      {"nan compares false", {1, kNaN, 3}, {2, 2, 2}, {INV, 0, 0}},
      {"never valid", {INV, INV}, {1, 1}, {INV, INV}},
      {"empty", {}, {1, 2}, {}},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Cross(Series(c.a), Series(c.b)).m_raw_data, (c.expected));
  }
}

struct LongCrossCountCase {
  const char* what;
  std::vector<double> a;
  unsigned long n;
  std::vector<double> expected;  // b is 2 at every bar
};

TEST(LongCross, CountVariant) {
  const LongCrossCountCase cases[] = {
      {"below three bars, then above", {1, 1, 1, 3}, 2, {INV, INV, 0, 1}},
      {"reaching b counts", {1, 1, 1, 2}, 2, {INV, INV, 0, 1}},
      // The streak before a touch must be n long; touches reset it.
      {"short streaks", {1, 3, 1, 3, 1, 1, 3}, 2, {INV, INV, 0, 0, 0, 0, 1}},
      {"n = 0: every bar at or above b", {1, 3, 2, 3}, 0, {0, 1, 1, 1}},
      {"lead-in shifts the warm-up", {INV, 1, 1, 3}, 1, {INV, INV, 0, 1}},
      {"huge n never leaves the warm-up", {1, 3}, ULONG_MAX, {INV, INV}},
      // NaN is not below: it ends the streak like a touch.
      {"nan ends a streak", {1, 1, kNaN, 3}, 2, {INV, INV, 1, 0}},
  };
  for (const LongCrossCountCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataExt b = Series(std::vector<double>(c.a.size(), 2.0));
    EXPECT_SERIES(LongCross(Series(c.a), b, c.n).m_raw_data, (c.expected));
  }
}

struct LongCrossSeriesCase {
  const char* what;
  std::vector<double> a;
  std::vector<double> n;
  std::vector<double> expected;  // b is 2 at every bar
};

TEST(LongCross, SeriesVariant) {
  const LongCrossSeriesCase cases[] = {
      {"streak of 2 inside the window", {1, 1, 1, 3}, {2, 2, 2, 2}, {0, 0, 0, 1}},
      {"reaching b is not enough here", {1, 1, 1, 2}, {2, 2, 2, 2}, {0, 0, 0, 0}},
      {"beyond the end of n", {1, 1, 1, 3}, {2, 2}, {0, 0, 0, 0}},
      {"n = 0 tests only a > b", {3, 1, 3}, {0, 0, 0}, {1, 0, 1}},
      // Window start trunc32(2 - 1.5) = 0 holds two below-bars; 2 >= 1.5.
      {"fractional n", {1, 1, 3}, {1.5, 1.5, 1.5}, {0, 0, 1}},
      {"nan n never passes", {1, 1, 3}, {kNaN, kNaN, kNaN}, {0, 0, 0}},
      // The streak is counted from the first valid bar only.
      {"lead-in", {INV, 1, 3}, {1, 1, 1}, {INV, 0, 1}},
      {"huge n falls back to the first valid bar", {1, 1, 3}, {1e300, 1e300, 1e300}, {0, 0, 0}},
      {"negative n", {1, 1, 3}, {-5, -5, -5}, {0, 0, 1}},
  };
  for (const LongCrossSeriesCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataExt b = Series(std::vector<double>(c.a.size(), 2.0));
    EXPECT_SERIES(LongCross(Series(c.a), b, Series(c.n)).m_raw_data, (c.expected));
  }
}

// Count back from i - 1 while a < b, no further than the window start.
std::vector<double> NaiveLongCross(const std::vector<double>& a, const std::vector<double>& b,
                                   const std::vector<double>& n) {
  size_t first = 0;
  while (first < a.size() && (a[first] == INV || b[first] == INV)) ++first;
  std::vector<double> out(a.size(), INV);
  for (size_t i = first; i < a.size(); ++i) {
    double s = static_cast<double>(i) - n[i];
    long long start = (s > -2147483649.0 && s < 2147483648.0) ? static_cast<long long>(s) : INT_MIN;
    if (start < static_cast<long long>(first)) start = static_cast<long long>(first);
    double c = 0;
    for (long long j = static_cast<long long>(i) - 1; j >= start && a[j] < b[j]; --j) c += 1;
    out[i] = c >= n[i] && a[i] > b[i] ? 1 : 0;
  }
  return out;
}

TEST(LongCross, SeriesVariantMatchesCountBackOverRandomSeries) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> level(0, 4);
  std::uniform_int_distribution<int> period(-2, 8);
  for (int round = 0; round < 40; ++round) {
    std::vector<double> a, b, n;
    for (int i = 0; i < 200; ++i) {
      a.push_back(i < round ? INV : level(rng));
      b.push_back(level(rng) == 0 ? INV : 2.0);
      n.push_back(period(rng) + (round % 3 == 0 ? 0.5 : 0.0));
    }
    SCOPED_TRACE(round);
    EXPECT_SERIES(LongCross(Series(a), Series(b), Series(n)).m_raw_data, (NaiveLongCross(a, b, n)));
  }
}

}  // namespace
