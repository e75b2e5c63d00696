// FINDHIGH, FINDLOW, FINDHIGHBARS, FINDLOWBARS: hand-worked windows, the
// heap against a sort of each window.

#include <algorithm>
#include <climits>
#include <random>

#include "reference_strategies.h"

namespace {

using ConstantFind = DataExt (*)(const DataExt&, unsigned long, unsigned long, unsigned long);
using PerBarFind = DataExt (*)(const DataExt&, const DataExt&, const DataExt&, const DataExt&);

struct ConstantCase {
  const char* note;
  ConstantFind run;
  std::vector<double> x;
  unsigned long n, m, t;
  std::vector<double> want;
};

TEST(FindExtremeTest, ConstantParameters) {
  const std::vector<ConstantCase> cases = {
      // i=1: heap {4, 9}, top 4; i=2: 7 replaces the top 4, heap {7, 9}.
      {"documented FINDHIGH", FindHigh, {4, 9, 7}, 0, 3, 2, {INV, 4, 7}},
      {"documented FINDHIGHBARS", FindHighBars, {4, 9, 7}, 0, 3, 2, {INV, 1, 0}},
      // Low heap: top is the largest; i=2: 7 <= 9 replaces it.
      {"FINDLOW", FindLow, {4, 9, 7}, 0, 3, 2, {INV, 9, 7}},
      {"documented: M < T is empty", FindHigh, {1, 2, 3, 4}, 1, 2, 3, {}},
      // Highest of the two bars ending one bar back.
      {"window ending one bar back", FindHigh, {1, 5, 3, 2}, 1, 2, 1, {INV, 1, 5, 5}},
      {"its distance", FindHighBars, {1, 5, 3, 2}, 1, 2, 1, {INV, 1, 1, 2}},
      {"an invalid bar gives invalid, an invalid value in the window is -100000", FindHigh,
       {1, INV, 3}, 0, 2, 1, {1, INV, 3}},
      {"equal value replaces the top: the newer bar", FindHighBars, {5, 5}, 0, 2, 1, {0, 0}},
      {"T = 0: the heap stays empty", FindHigh, {1, 2}, 0, 2, 0, {INV, INV}},
      {"huge counts do not wrap", FindHigh, {1, 2, 3}, ULONG_MAX, ULONG_MAX, ULONG_MAX,
       {INV, INV, INV}},
  };
  for (const ConstantCase& c : cases) {
    EXPECT_SERIES(c.run(Series(c.x), c.n, c.m, c.t).getRawData(), (c.want)) << c.note;
  }
}

struct PerBarCase {
  const char* note;
  PerBarFind run;
  std::vector<double> x, n, m, t;
  std::vector<double> want;
};

TEST(FindExtremeTest, PerBarParameters) {
  const std::vector<PerBarCase> cases = {
      // i=1: window 1..1 holds one element, fewer than T; it is the top.
      {"M < T is allowed", FindHigh, {4, 9, 7}, {0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {INV, 9, 7}},
      {"the bar's own value is not tested", FindHigh, {4, INV, 7}, {0, 0, 0}, {2, 2, 2},
       {1, 1, 1}, {4, 4, 7}},
      {"negative, NaN or T below 1: invalid", FindLow, {4, 9, 7, 1},
       {-1, 0, 0, kNaN}, {2, 2, 2, 2}, {1, 0.5, kNaN, 1}, {INV, INV, INV, INV}},
      // i=2: end = trunc(0.5) = 0, window 0..0; i=3: end = trunc(1.5) = 1,
      // start = trunc(1 - 2 + 1) = 0, the 8 at bar 1.
      {"fractional parameters truncate", FindHighBars, {1, 8, 2, 3}, {1.5, 1.5, 1.5, 1.5},
       {2, 2, 2, 2}, {1, 1, 1, 1}, {INV, INV, 2, 2}},
      {"the shortest series bounds the result", FindLow, {3, 2, 1}, {0, 0, 0}, {1, 1},
       {1, 1, 1}, {3, 2}},
  };
  for (const PerBarCase& c : cases) {
    EXPECT_SERIES(c.run(Series(c.x), Series(c.n), Series(c.m), Series(c.t)).getRawData(),
                  (c.want))
        << c.note;
  }
}

// The value found is the t-th of the window in sorted order, whatever order
// the heap keeps equal values in.
TEST(FindExtremeTest, ValuesMatchSortedWindows) {
  std::mt19937 rng(31);
  std::uniform_int_distribution<int> value(0, 6);
  for (unsigned long n = 0; n < 4; ++n) {
    for (unsigned long m = 1; m < 7; ++m) {
      for (unsigned long t = 1; t <= m; ++t) {
        std::vector<double> x;
        for (int i = 0; i < 60; ++i) x.push_back(value(rng));
        std::vector<double> want_high, want_low;
        for (size_t i = 0; i < x.size(); ++i) {
          if (i + 1 < n + t) {
            want_high.push_back(INV);
            want_low.push_back(INV);
            continue;
          }
          const size_t end = i - n;
          const size_t start = end + 1 > m ? end + 1 - m : 0;
          std::vector<double> window(x.begin() + start, x.begin() + end + 1);
          std::sort(window.begin(), window.end());
          want_low.push_back(window[t - 1]);
          want_high.push_back(window[window.size() - t]);
        }
        EXPECT_SERIES(FindHigh(Series(x), n, m, t).getRawData(), (want_high))
            << n << "," << m << "," << t;
        EXPECT_SERIES(FindLow(Series(x), n, m, t).getRawData(), (want_low))
            << n << "," << m << "," << t;
      }
    }
  }
}

}  // namespace
