// CROSS and LONGCROSS: positions of crosses, first valid bar, warm-up and
// per-bar windows (by hand); the linear-time LONGCROSS series variant
// against a plain count-back over random series.

#include <climits>
#include <random>

#include "logic_strategies.h"

namespace {

TEST(Cross, Positions) {
  const struct {
    const char* what;
    std::vector<double> a, b, expected;
  } cases[] = {
      {"cross at 1", {1, 3, 4}, {2, 2, 2}, {INV, 1, 0}},
      {"equal before is no cross", {1, 2, 3}, {2, 2, 2}, {INV, 0, 0}},
      {"lead-in: 0 at the first valid bar", {INV, 1, 3, 1, 3}, {2, 2, 2, 2, 2}, {INV, 0, 1, 0, 1}},
      {"a later gap is the number -100000", {1, INV, 3}, {2, 2, 2}, {INV, 0, 1}},
      {"shorter b", {1, 3, 4, 0}, {2, 2}, {INV, 1}},
      {"nan compares false", {1, kNaN, 3}, {2, 2, 2}, {INV, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Cross(Series(c.a), Series(c.b)).m_raw_data, (c.expected));
  }
}

DataExt Twos(size_t n) { return Series(std::vector<double>(n, 2.0)); }

TEST(LongCross, CountVariant) {  // b is 2 at every bar
  const struct {
    const char* what;
    std::vector<double> a;
    unsigned long n;
    std::vector<double> expected;
  } cases[] = {
      {"below three bars, then above", {1, 1, 1, 3}, 2, {INV, INV, 0, 1}},
      {"reaching b counts", {1, 1, 1, 2}, 2, {INV, INV, 0, 1}},
      {"touches reset the streak", {1, 3, 1, 3, 1, 1, 3}, 2, {INV, INV, 0, 0, 0, 0, 1}},
      {"n = 0: every bar at or above b", {1, 3, 2, 3}, 0, {0, 1, 1, 1}},
      {"lead-in shifts the warm-up", {INV, 1, 1, 3}, 1, {INV, INV, 0, 1}},
      {"huge n", {1, 3}, ULONG_MAX, {INV, INV}},
      {"nan is not below: it ends a streak", {1, 1, kNaN, 3}, 2, {INV, INV, 1, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(LongCross(Series(c.a), Twos(c.a.size()), c.n).m_raw_data, (c.expected));
  }
}

TEST(LongCross, SeriesVariant) {  // b is 2 at every bar
  const struct {
    const char* what;
    std::vector<double> a, n, expected;
  } cases[] = {
      {"streak of 2 inside the window", {1, 1, 1, 3}, {2, 2, 2, 2}, {0, 0, 0, 1}},
      {"reaching b is not enough", {1, 1, 1, 2}, {2, 2, 2, 2}, {0, 0, 0, 0}},
      {"beyond the end of n", {1, 1, 1, 3}, {2, 2}, {0, 0, 0, 0}},
      {"fractional n: start trunc(0.5)", {1, 1, 3}, {1.5, 1.5, 1.5}, {0, 0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(LongCross(Series(c.a), Twos(c.a.size()), Series(c.n)).m_raw_data, (c.expected));
  }
}

std::vector<double> NaiveLongCross(const std::vector<double>& a, const std::vector<double>& b,
                                   const std::vector<double>& n) {
  size_t first = 0;
  while (first < a.size() && (a[first] == INV || b[first] == INV)) ++first;
  std::vector<double> out(a.size(), INV);
  for (size_t i = first; i < a.size(); ++i) {
    long long start = std::max<long long>(first, static_cast<long long>(i - n[i]));
    double c = 0;
    for (long long j = static_cast<long long>(i) - 1; j >= start && a[j] < b[j]; --j) c += 1;
    out[i] = c >= n[i] && a[i] > b[i] ? 1 : 0;
  }
  return out;
}

TEST(LongCross, SeriesVariantMatchesCountBackOverRandomSeries) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> level(0, 4), period(-2, 8);
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
