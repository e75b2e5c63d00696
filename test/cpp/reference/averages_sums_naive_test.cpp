// The linear-time paths (running sums, windows extended while their start
// stays put, the right-to-left BACKSET scan, the SUMBARS early stops) against
// plain rescans of every window over random series with a fixed seed.

#include <cmath>
#include <cstdint>
#include <random>

#include "reference_strategies.h"

namespace {

// Random walk with about one invalid bar in ten; `integral` keeps every value
// a small integer so that any order of additions gives exact sums.
std::vector<double> RandomSeries(std::mt19937& rng, size_t count, bool integral) {
  std::uniform_int_distribution<int> step(-3, 3);
  std::uniform_int_distribution<int> gap(0, 9);
  std::vector<double> out;
  double level = 50;
  for (size_t i = 0; i < count; ++i) {
    level += integral ? step(rng) : step(rng) * 0.37;
    out.push_back(gap(rng) == 0 ? INV : level);
  }
  return out;
}

// Periods mixing short windows, anchored windows (huge, NaN) that a growing
// window extends, windows below 1 and fractions, in runs of a few bars.
std::vector<double> RandomPeriods(std::mt19937& rng, size_t count) {
  const double choices[] = {1, 2, 3, 5, 0, -2, 2.5, 1e9, kNaN, 1e300};
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<int> run(1, 12);
  std::vector<double> out;
  while (out.size() < count) {
    const double period = choices[pick(rng)];
    for (int k = run(rng); k > 0 && out.size() < count; --k) out.push_back(period);
  }
  return out;
}

double NaiveSum(const std::vector<double>& x, size_t from, size_t to) {
  double sum = 0.0;
  for (size_t k = from; k <= to; ++k) {
    if (IsValid(x[k])) sum = sum + x[k];
  }
  return sum;
}

TEST(AveragesSumsNaiveTest, ConstantWindowsMatchRescan) {
  std::mt19937 rng(20240601);
  for (int round = 0; round < 40; ++round) {
    const std::vector<double> x = RandomSeries(rng, 300, true);
    const unsigned long n = 1 + round % 13;
    const size_t f = FirstValidBar(x);
    std::vector<double> want_ma, want_sum;
    for (size_t i = 0; i < x.size(); ++i) {
      const bool full = i >= f && i + 1 >= f + n;
      const double sum = full ? NaiveSum(x, i + 1 - n, i) : INV;
      want_sum.push_back(sum);
      want_ma.push_back(full ? sum / static_cast<double>(n) : INV);
    }
    EXPECT_SERIES(Ma(Series(x), n).getRawData(), (want_ma));
    EXPECT_SERIES(Sum(Series(x), n).getRawData(), (want_sum));
  }
}

TEST(AveragesSumsNaiveTest, PerBarWindowsMatchRescan) {
  std::mt19937 rng(7);
  for (int round = 0; round < 40; ++round) {
    const std::vector<double> x = RandomSeries(rng, 400, false);
    const std::vector<double> n = RandomPeriods(rng, x.size());
    const size_t f = FirstValidBar(x);
    std::vector<double> want_ma, want_sum, want_wma;
    for (size_t i = 0; i < x.size(); ++i) {
      // The window from `start` to i; empty (a period below 1) when start > i.
      const int64_t start = NaiveWindowStart(f, i, n[i]), end = static_cast<int64_t>(i);
      double sum = 0.0, weighted = 0.0, divisor = 0.0;
      for (int64_t k = start; k <= end; ++k) {
        const double w = static_cast<double>(k - start + 1);
        if (IsValid(x[k])) sum = sum + x[k], weighted = w * x[k] + weighted;
        divisor = divisor + w;
      }
      want_ma.push_back(i < f || start > end ? INV : sum / static_cast<double>(end - start + 1));
      want_sum.push_back(i < f ? INV : sum);
      want_wma.push_back(i < f ? INV : weighted / divisor);  // 0/0 is NaN: the empty window
    }
    EXPECT_SERIES(Ma(Series(x), Series(n)).getRawData(), (want_ma));
    EXPECT_SERIES(Sum(Series(x), Series(n)).getRawData(), (want_sum));
    EXPECT_SERIES(Wma(Series(x), Series(n)).getRawData(), (want_wma));
  }
}

TEST(AveragesSumsNaiveTest, MularMatchesRescan) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> factor(0.9, 1.1);
  for (int round = 0; round < 40; ++round) {
    std::vector<double> x = RandomSeries(rng, 300, false);
    for (double& v : x) {
      if (IsValid(v)) v = factor(rng);
    }
    const std::vector<double> n = RandomPeriods(rng, x.size());
    std::vector<double> want;
    for (size_t i = 0; i < x.size(); ++i) {
      if (!IsValid(x[i])) {
        want.push_back(INV);
        continue;
      }
      const double bar = static_cast<double>(i);
      size_t start = 0;
      if (n[i] <= bar) start = ToCount(bar - n[i] + 1.0);
      double product = 1.0;
      for (size_t k = start; k <= i; ++k) {
        if (IsValid(x[k])) product = product * x[k];
      }
      want.push_back(product);
    }
    EXPECT_SERIES(Mular(Series(x), Series(n)).getRawData(), (want));
  }
}

TEST(AveragesSumsNaiveTest, BackSetMatchesBackwardWrites) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> signal(0, 6);
  for (int round = 0; round < 60; ++round) {
    std::vector<double> x;
    for (int i = 0; i < 200; ++i) {
      const int s = signal(rng);
      x.push_back(s == 0 ? INV : s == 1 ? kNaN : s == 2 ? 1.0 : 0.0);
    }
    const std::vector<double> n = RandomPeriods(rng, x.size());
    const size_t f = FirstValidBar(x);
    std::vector<double> want(x.size(), 0.0);
    for (size_t i = 0; i < f; ++i) want[i] = INV;
    for (size_t i = f; i < x.size(); ++i) {
      if (!(x[i] <= 0.0) && n[i] > 0.0) {
        for (double m = 0; m < n[i] && m <= static_cast<double>(i); m += 1) {
          want[i - static_cast<size_t>(m)] = 1.0;
        }
      }
    }
    EXPECT_SERIES(BackSet(Series(x), Series(n)).getRawData(), (want));
  }
}

TEST(AveragesSumsNaiveTest, SumBarsMatchesFullWalk) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> pick(0, 19);
  for (int round = 0; round < 30; ++round) {
    // Long rounds cross the early-stop checks inside a walk; targets equal
    // to a forward sum of the positive values sit where rounding decides.
    std::vector<double> x = RandomSeries(rng, round % 2 ? 1300 : 200, false);
    std::vector<double> a;
    double positive = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
      const int p = pick(rng);
      if (p == 0 && round % 3 != 0) x[i] = kNaN;
      if (IsValid(x[i]) && x[i] > 0.0) positive += x[i];
      a.push_back(p == 1 ? kNaN : p == 2 ? 1e300 : p == 3 ? positive : 60.0 * (p % 7));
    }
    const size_t f = FirstValidBar(x);
    std::vector<double> want;
    for (size_t i = 0; i < x.size(); ++i) {
      if (i < f) {
        want.push_back(INV);
        continue;
      }
      double sum = 0.0, result = static_cast<double>(i);
      for (size_t k = i + 1; k-- > 0;) {
        if (!IsValid(x[k])) continue;
        sum = sum + x[k];
        if (sum >= a[i]) {
          result = static_cast<double>(i - k + 1);
          break;
        }
      }
      want.push_back(result);
    }
    EXPECT_SERIES(SumBars(Series(x), Series(a)).getRawData(), (want));
  }
}

}  // namespace
