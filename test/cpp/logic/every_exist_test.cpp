// EVERY and EXIST over the last n bars: hand-computed windows for both
// variants, and the running-count / run-length versions checked against a
// plain rescan of each window over random series.

#include <climits>
#include <limits>
#include <random>

#include "series_expect.h"
#include "strategy/logic/every_strategy.h"
#include "strategy/logic/exist_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct CountCase {
  const char* what;
  std::vector<double> x;
  unsigned long n;
  std::vector<double> every;
  std::vector<double> exist;
};

TEST(EveryExist, CountVariant) {
  const CountCase cases[] = {
      {"n = 3", {1, 1, 1, 0, 1}, 3, {0, 0, 1, 0, 0}, {1, 1, 1, 1, 1}},
      {"n = 2", {0, 1, 0, 0}, 2, {0, 0, 0, 0}, {0, 1, 1, 0}},
      // A window of 0 bars still looks at the current bar.
      {"n = 0", {1, 0, -1, 2}, 0, {0, 1, 1, 0}, {1, 0, 0, 1}},
      {"n = 1", {1, 0, kNaN, 2}, 1, {1, 0, 0, 1}, {1, 0, 0, 1}},
      {"lead-in", {INV, 1, 1, 1}, 2, {INV, 0, 1, 1}, {INV, 1, 1, 1}},
      {"lead-in then false", {INV, 0, 1, 0, 0}, 2, {INV, 0, 0, 0, 0}, {INV, 0, 1, 1, 0}},
      // A gap after the first valid bar is a false bar.
      {"gap after the first valid bar", {1, INV, 1, 1}, 2, {0, 0, 0, 1}, {1, 1, 1, 1}},
      {"huge n", {1, 1}, ULONG_MAX, {0, 0}, {1, 1}},
      {"empty", {}, 3, {}, {}},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Every(Series(c.x), c.n).m_raw_data, (c.every));
    EXPECT_SERIES(Exist(Series(c.x), c.n).m_raw_data, (c.exist));
  }
}

struct SeriesCase {
  const char* what;
  std::vector<double> x;
  std::vector<double> n;
  std::vector<double> every;
  std::vector<double> exist;
};

TEST(EveryExist, SeriesVariant) {
  const SeriesCase cases[] = {
      {"n = 3", {1, 1, 1, 0, 1}, {3, 3, 3, 3, 3}, {0, 0, 1, 0, 0}, {1, 1, 1, 1, 1}},
      {"n = 2", {0, 1, 0, 0}, {2, 2, 2, 2}, {0, 0, 0, 0}, {0, 1, 1, 0}},
      // The window is shortened near the first bar: n = 2 at bar 1 holds
      // bars 0 and 1.
      {"growing n", {1, 1}, {1, 2}, {1, 1}, {1, 1}},
      // n = 0: the window starts after i, so it is empty (run 0 equals 0).
      {"n = 0", {1, 0}, {0, 0}, {1, 1}, {0, 0}},
      {"fractional n", {1, 1}, {1.5, 1.5}, {0, 0}, {1, 1}},
      {"lead-in", {INV, 1, 1}, {2, 2, 2}, {INV, 0, 1}, {INV, 1, 1}},
      // Huge and NaN periods reach back to the first valid bar.
      {"huge n", {0, 1, 0}, {1e300, 1e300, 1e300}, {0, 0, 0}, {0, 1, 1}},
      {"nan n", {0, 1, 0}, {kNaN, kNaN, kNaN}, {0, 0, 0}, {0, 1, 1}},
      {"shorter n", {1, 1, 1}, {1}, {1}, {1}},
  };
  for (const SeriesCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Every(Series(c.x), Series(c.n)).m_raw_data, (c.every));
    EXPECT_SERIES(Exist(Series(c.x), Series(c.n)).m_raw_data, (c.exist));
  }
}

size_t FirstValid(const std::vector<double>& x) {
  size_t f = 0;
  while (f < x.size() && x[f] == INV) ++f;
  return f;
}

// Rescans the window [max(f, i - w + 1), i] at every bar, w = max(n, 1).
std::vector<double> NaiveCount(const std::vector<double>& x, unsigned long n, bool every) {
  const size_t f = FirstValid(x);
  const unsigned long w = n > 0 ? n : 1;
  std::vector<double> out(x.size(), INV);
  for (size_t i = f; i < x.size(); ++i) {
    unsigned long count = 0;
    for (size_t j = i + 1; j-- > f && i - j < w;) count += x[j] > 0;
    out[i] = every ? count == n : count > 0;
  }
  return out;
}

// Rescans [max(f, trunc(i - n + 1)), i] at every bar.
std::vector<double> NaiveSeries(const std::vector<double>& x, const std::vector<double>& n,
                                bool every) {
  const size_t f = FirstValid(x);
  std::vector<double> out(x.size(), INV);
  for (size_t i = f; i < x.size(); ++i) {
    long long start = static_cast<long long>(static_cast<double>(i) - n[i] + 1.0);
    if (start < static_cast<long long>(f)) start = static_cast<long long>(f);
    double run = 0;
    bool any = false;
    for (long long j = static_cast<long long>(i); j >= start && x[j] > 0; --j) run += 1;
    for (long long j = start; j <= static_cast<long long>(i); ++j) any = any || x[j] > 0;
    out[i] = every ? run == n[i] : any;
  }
  return out;
}

std::vector<double> RandomCondition(std::mt19937& rng, int lead_in, int size) {
  std::uniform_int_distribution<int> pick(0, 9);
  std::vector<double> x;
  for (int i = 0; i < size; ++i) {
    int p = pick(rng);
    x.push_back(i < lead_in ? INV : p < 6 ? 1.0 : p < 8 ? 0.0 : p < 9 ? -1.0 : INV);
  }
  return x;
}

TEST(EveryExist, RunningVersionsMatchWindowRescan) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> period(-1, 9);
  for (int round = 0; round < 30; ++round) {
    const std::vector<double> x = RandomCondition(rng, round % 7, 300);
    const unsigned long n = static_cast<unsigned long>(round % 6);
    std::vector<double> periods;
    for (size_t i = 0; i < x.size(); ++i) periods.push_back(period(rng) + (round % 2) * 0.5);
    SCOPED_TRACE(round);
    EXPECT_SERIES(Every(Series(x), n).m_raw_data, (NaiveCount(x, n, true)));
    EXPECT_SERIES(Exist(Series(x), n).m_raw_data, (NaiveCount(x, n, false)));
    EXPECT_SERIES(Every(Series(x), Series(periods)).m_raw_data, (NaiveSeries(x, periods, true)));
    EXPECT_SERIES(Exist(Series(x), Series(periods)).m_raw_data, (NaiveSeries(x, periods, false)));
  }
}

}  // namespace
