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

struct PerBarCase {
  const char* note;
  PerBarFind run;
  std::vector<double> x, n, m, t;
  std::vector<double> want;
};

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

TEST(FindExtremeTest, PerBarParameters) {
  // A NaN M is trunc32(NaN) = INT32_MIN as a window start: the window starts
  // at bar 0. A NaN N or T, a negative parameter or T below 1 give the
  // invalid value.
  const std::vector<double> x = {1, 5, 3}, zero = {0, 0, 0}, two = {2, 2, 2};
  const std::vector<double> nan = {kNaN, kNaN, kNaN};
  const PerBarCase cases[] = {
      {"NaN M, value", FindHigh, x, zero, nan, two, {INV, 1, 3}},
      {"NaN M, bars", FindHighBars, x, zero, nan, two, {INV, 1, 0}},
      {"NaN M, lowest", FindLow, x, zero, nan, two, {INV, 5, 3}},
      {"NaN N", FindHigh, x, nan, two, two, {INV, INV, INV}},
      {"NaN T", FindHigh, x, zero, two, nan, {INV, INV, INV}},
      {"negative M", FindHigh, x, zero, {-1, -1, -1}, two, {INV, INV, INV}},
  };
  for (const PerBarCase& c : cases) {
    EXPECT_SERIES(c.run(Series(c.x), Series(c.n), Series(c.m), Series(c.t)).getRawData(), (c.want))
        << c.note;
  }
}

}  // namespace
