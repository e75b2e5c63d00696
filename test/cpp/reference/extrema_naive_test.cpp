// The fast window extremes, ranks, ranges and counts against plain
// definitions (rescans of every window, literal queues), over random series
// from a few values (many ties) with invalid lead-ins, gaps and NaN.

#include <cmath>
#include <cstdint>
#include <deque>
#include <random>

#include "reference_strategies.h"

namespace {

// Values 0..4 (condition-like and tie-heavy), with a short invalid lead-in,
// about one invalid bar in twelve and, when asked, one NaN in fifteen.
std::vector<double> TieSeries(std::mt19937& rng, size_t count, bool with_nan) {
  std::uniform_int_distribution<int> value(0, 4);
  std::uniform_int_distribution<int> odd(0, 59);
  std::uniform_int_distribution<int> lead(0, 3);
  std::vector<double> out(lead(rng), INV);
  while (out.size() < count) {
    const int roll = odd(rng);
    out.push_back(roll < 5 ? INV : (with_nan && roll < 9 ? kNaN : value(rng)));
  }
  return out;
}

std::vector<double> RandomPeriods(std::mt19937& rng, size_t count) {
  const double choices[] = {1, 2, 3, 4, 7, 0, -2, 2.5, 0.5, 1e12, kNaN, 40};
  std::uniform_int_distribution<int> pick(0, 11);
  std::vector<double> out;
  for (size_t i = 0; i < count; ++i) out.push_back(choices[pick(rng)]);
  return out;
}

uint64_t NaiveCount(double n) { return n > 0.0 ? static_cast<uint64_t>(std::min(n, 1e18)) : 0; }

// ---- literal definitions ---------------------------------------------------

// HHV/LLV/HHVBARS/LLVBARS with a whole constant count, through a literal
// deque: `evicts(back, incoming)`; `bars` reports i - front, else the value.
template <typename Evicts>
std::vector<double> QueueDefinition(const std::vector<double>& x, uint64_t n, Evicts evicts,
                                    bool bars, bool (*beyond)(double, double)) {
  const size_t f = FirstValidBar(x);
  std::vector<double> out(f, INV);
  std::deque<size_t> q;
  size_t kept = f;
  for (size_t i = f; i < x.size(); ++i) {
    size_t front;
    if (n == 0) {
      if (beyond(x[i], x[kept])) kept = i;
      front = kept;
    } else {
      while (i >= n && !q.empty() && i - q.front() >= n) q.pop_front();
      while (!q.empty() && evicts(x[q.back()], x[i])) q.pop_back();
      q.push_back(i);
      front = q.front();
    }
    if (bars) {
      out.push_back(static_cast<double>(i - front));
    } else {
      out.push_back(x[front] == INV ? 0.0 : x[front]);
    }
  }
  return out;
}

bool Greater(double a, double b) { return a > b; }
bool Less(double a, double b) { return a < b; }

// Calls visit(j) for bars i, i-1, ... of the last k (bar 0 at the earliest).
template <typename Visit>
void WalkBack(size_t i, uint64_t k, Visit visit) {
  for (size_t j = i, walked = 0; walked < k; --j, ++walked) {
    visit(j);
    if (j == 0) break;
  }
}

// Per-bar HHV/LLV: backward scan from the worst double with a strict test.
std::vector<double> PerBarValueDefinition(const std::vector<double>& x,
                                          const std::vector<double>& n, bool high) {
  const size_t f = FirstValidBar(x);
  std::vector<double> out;
  for (size_t i = 0; i < std::min(x.size(), n.size()); ++i) {
    const uint64_t k = NaiveCount(n[i]);
    double best = high ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max();
    WalkBack(i, k, [&](size_t j) { best = (high ? x[j] > best : x[j] < best) ? x[j] : best; });
    out.push_back(i < f ? INV : i == f ? x[f] : k == 0 ? x[i] : best == INV ? 0.0 : best);
  }
  return out;
}

// Per-bar HHVBARS/LLVBARS: a fresh literal queue over the window at each bar.
std::vector<double> PerBarBarsDefinition(const std::vector<double>& x, const std::vector<double>& n,
                                         bool high) {
  const size_t len = std::min(x.size(), n.size());
  const size_t f = FirstValidBar(x);
  std::vector<double> out;
  for (size_t i = 0; i < len; ++i) {
    if (i < f || n[i] < 0.0) { out.push_back(INV); continue; }
    const int64_t start = n[i] == 0.0 ? static_cast<int64_t>(f) : NaiveWindowStart(f, i, n[i]);
    if (start > static_cast<int64_t>(i)) { out.push_back(INV); continue; }
    std::deque<size_t> q;
    for (size_t k = static_cast<size_t>(start); k <= i; ++k) {
      while (!q.empty() && (high ? x[q.back()] < x[k] : x[q.back()] > x[k])) q.pop_back();
      q.push_back(k);
    }
    out.push_back(static_cast<double>(i - q.front()));
  }
  return out;
}

std::vector<double> RankDefinition(const std::vector<double>& x, uint64_t n, bool high) {
  std::vector<double> out;
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] == INV) { out.push_back(INV); continue; }
    const size_t from = i < n ? 0 : i - n + 1;
    double rank = 1;
    for (size_t k = from; k < i; ++k) rank += (high ? x[k] > x[i] : x[k] < x[i]) ? 1 : 0;
    out.push_back(rank);
  }
  return out;
}

std::vector<double> RangeDefinition(const std::vector<double>& x, bool top) {
  std::vector<double> out;
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] == INV) { out.push_back(INV); continue; }
    double walked = 0;
    bool stopped = false;
    for (size_t k = i; k-- > 0;) {
      if (!(top ? x[k] <= x[i] : x[k] >= x[i])) { stopped = true; break; }
      ++walked;
    }
    out.push_back(stopped ? walked : static_cast<double>(i));
  }
  return out;
}

// COUNT and BARSSINCEN with a constant count: the literal index queue.
std::vector<double> HeldQueueDefinition(const std::vector<double>& x, uint64_t n, bool since) {
  const size_t f = FirstValidBar(x);
  std::vector<double> out(f, INV);
  std::deque<size_t> q;
  size_t running = 0;
  for (size_t i = f; i < x.size(); ++i) {
    if (!since && n == 0) {
      running += x[i] > 0.0 ? 1 : 0;
      out.push_back(static_cast<double>(running));
      continue;
    }
    while (!q.empty() && i - q.front() >= n) q.pop_front();
    if (x[i] > 0.0) q.push_back(i);
    if (since) {
      out.push_back(q.empty() ? 0.0 : static_cast<double>(i - q.front()));
    } else {
      out.push_back(static_cast<double>(q.size()));
    }
  }
  return out;
}

std::vector<double> PerBarCountDefinition(const std::vector<double>& x,
                                          const std::vector<double>& n) {
  const size_t f = FirstValidBar(x);
  std::vector<double> out;
  for (size_t i = 0; i < std::min(x.size(), n.size()); ++i) {
    const uint64_t k = NaiveCount(n[i]);
    double count = 0;
    WalkBack(i, k == 0 ? i + 1 - std::min(f, i) : k, [&](size_t j) { count += x[j] > 0.0 ? 1 : 0; });
    out.push_back(i < f ? INV : count);
  }
  return out;
}

std::vector<double> PerBarSinceDefinition(const std::vector<double>& x,
                                          const std::vector<double>& n) {
  const size_t len = std::min(x.size(), n.size());
  const size_t f = FirstValidBar(x);
  std::vector<double> out;
  for (size_t i = 0; i < len; ++i) {
    if (i < f) { out.push_back(INV); continue; }
    double value = static_cast<double>(i);
    for (int64_t k = NaiveWindowStart(f, i, n[i]); k <= static_cast<int64_t>(i); ++k) {
      if (x[k] > 0.0) { value = static_cast<double>(i - k); break; }
    }
    out.push_back(value);
  }
  return out;
}

// ---- comparisons -----------------------------------------------------------

TEST(ExtremaNaiveTest, ConstantCountWindowsMatchLiteralQueue) {
  std::mt19937 rng(1234);
  const uint64_t counts[] = {0, 1, 2, 3, 5, 8, 13, 1000, UINT64_MAX};
  for (uint64_t n : counts) {
    for (int round = 0; round < 6; ++round) {
      const std::vector<double> x = TieSeries(rng, 150, round % 2 == 1);
      const DataExt xs = Series(x);
      EXPECT_SERIES(Hhv(xs, static_cast<double>(n)).getRawData(),
                    (QueueDefinition(x, n, Less, false, Greater)))
          << "HHV n=" << n;
      EXPECT_SERIES(Llv(xs, n).getRawData(), (QueueDefinition(x, n, Greater, false, Less)))
          << "LLV n=" << n;
      EXPECT_SERIES(HhvBars(xs, n).getRawData(), (QueueDefinition(x, n, Less, true, Greater)))
          << "HHVBARS n=" << n;
      EXPECT_SERIES(LlvBars(xs, n).getRawData(),
                    (QueueDefinition(x, n, [](double b, double v) { return b >= v; }, true, Less)))
          << "LLVBARS n=" << n;
    }
  }
}

TEST(ExtremaNaiveTest, FractionalHhvKeepsCeilOfPeriodBars) {
  // Without NaN a queue's front is the rescan's extreme, so a fractional
  // period must agree with the whole count ceil(n).
  std::mt19937 rng(99);
  const double periods[] = {0.25, 1.5, 2.5, 6.01};
  for (double n : periods) {
    const std::vector<double> x = TieSeries(rng, 120, false);
    EXPECT_SERIES(Hhv(Series(x), n).getRawData(),
                  (QueueDefinition(x, static_cast<uint64_t>(std::ceil(n)), Less, false, Greater)))
        << "n=" << n;
  }
}

TEST(ExtremaNaiveTest, PerBarWindowsMatchRescan) {
  std::mt19937 rng(4321);
  for (int round = 0; round < 30; ++round) {
    const std::vector<double> x = TieSeries(rng, 160, round % 2 == 1);
    // Periods sometimes shorter than the data: the shorter length governs.
    const std::vector<double> n = RandomPeriods(rng, round % 5 == 0 ? 120 : 160);
    const DataExt xs = Series(x);
    const DataExt ns = Series(n);
    EXPECT_SERIES(Hhv(xs, ns).getRawData(), (PerBarValueDefinition(x, n, true)));
    EXPECT_SERIES(Llv(xs, ns).getRawData(), (PerBarValueDefinition(x, n, false)));
    EXPECT_SERIES(HhvBars(xs, ns).getRawData(), (PerBarBarsDefinition(x, n, true)));
    EXPECT_SERIES(LlvBars(xs, ns).getRawData(), (PerBarBarsDefinition(x, n, false)));
    EXPECT_SERIES(Count2(xs, ns).getRawData(), (PerBarCountDefinition(x, n)));
    EXPECT_SERIES(BarsSinceN(xs, ns).getRawData(), (PerBarSinceDefinition(x, n)));
  }
}

TEST(ExtremaNaiveTest, RanksAndRangesMatchBackwardScans) {
  // Counts above 512 go through the rank counter instead of a rescan.
  std::mt19937 rng(555);
  const uint64_t counts[] = {0, 1, 3, 512, 513, 700, 100000};
  for (uint64_t n : counts) {
    for (int round = 0; round < 4; ++round) {
      const std::vector<double> x = TieSeries(rng, 1500, round % 2 == 1);
      EXPECT_SERIES(Hod(Series(x), n).getRawData(), (RankDefinition(x, n, true))) << "n=" << n;
      EXPECT_SERIES(Lod(Series(x), n).getRawData(), (RankDefinition(x, n, false))) << "n=" << n;
    }
  }
  for (int round = 0; round < 10; ++round) {
    const std::vector<double> x = TieSeries(rng, 300, round % 2 == 1);
    EXPECT_SERIES(TopRange(Series(x)).getRawData(), (RangeDefinition(x, true)));
    EXPECT_SERIES(LowRange(Series(x)).getRawData(), (RangeDefinition(x, false)));
  }
}

TEST(ExtremaNaiveTest, RunningCountsMatchLiteralQueue) {
  std::mt19937 rng(777);
  const uint64_t counts[] = {0, 1, 2, 3, 6, 50, UINT64_MAX};
  for (uint64_t n : counts) {
    for (int round = 0; round < 5; ++round) {
      const std::vector<double> x = TieSeries(rng, 200, round % 2 == 1);
      EXPECT_SERIES(Count(Series(x), n).getRawData(), (HeldQueueDefinition(x, n, false)))
          << "n=" << n;
      EXPECT_SERIES(BarsSinceN(Series(x), n).getRawData(), (HeldQueueDefinition(x, n, true)))
          << "n=" << n;
    }
  }
}

}  // namespace
