// FINDHIGH, FINDLOW, FINDHIGHBARS, FINDLOWBARS: hand-worked windows, the
// heap against a sort of each window.

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>

#include "reference_strategies.h"
#include "strategy/reference/find_extreme.h"

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

// Long windows are settled from their order statistics where the heap's
// outcome follows from them; the output must be the heap walk's, bar for
// bar and bit for bit, with ties, NaN, signed zeros and invalid values in
// the windows, windows that slide and windows that jump.
TEST(FindExtremeTest, OrderedWindowsGiveTheHeapWalksOutput) {
  std::mt19937 rng(5);
  const double pool[] = {1, 2, 3, 0.0, -0.0, INV, kInf, 2.5, -1, 7};
  for (int round = 0; round < 6; ++round) {
    // The last round holds only 0, -0, INV and inf: ties and signed zeros everywhere.
    std::vector<double> x(1000);
    for (double& v : x) {
      const int r = static_cast<int>(rng() % 100);
      v = round == 5             ? pool[3 + rng() % 4]  // 0, -0, INV, inf
          : r < 2 && round % 2 ? kNaN
          : r < 40      ? pool[rng() % 10]
                        : static_cast<double>(rng() % 100000) / 7.0;
    }
    std::vector<double> ns(x.size()), ms(x.size()), ts(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
      ns[i] = static_cast<double>(rng() % 50);
      ms[i] = static_cast<double>(300 + rng() % 700);
      ts[i] = static_cast<double>(1 + rng() % (round < 3 ? 5 : 900));
    }
    const unsigned long m = 300 + rng() % 700, t = 1 + rng() % m;
    const DataExt series = Series(x);
    const struct {
      PerBarFind per_bar;
      ConstantFind constant;
      bool high;
      FindOutput output;
    } functions[] = {{FindHigh, FindHigh, true, FindOutput::kValue},
                     {FindLow, FindLow, false, FindOutput::kValue},
                     {FindHighBars, FindHighBars, true, FindOutput::kBars},
                     {FindLowBars, FindLowBars, false, FindOutput::kBars}};
    for (const auto& f : functions) {
      std::vector<Element> heap;
      auto walk = [&](size_t start, size_t end, uint64_t keep, size_t i) {
        return f.high ? FindInWindow<FindHighOrder>(x, start, end, keep, i, f.output, heap)
                      : FindInWindow<FindLowOrder>(x, start, end, keep, i, f.output, heap);
      };
      std::vector<double> want_constant, want_per_bar;
      for (size_t i = 0; i < x.size(); ++i) {
        const bool late = i + 1 >= 3 + t && IsValid(x[i]);
        want_constant.push_back(late ? walk(i - 3 + 1 > m ? i - 3 + 1 - m : 0, i - 3, t, i) : INV);
        const bool usable = i + 1 >= ns[i] + ts[i];
        const size_t end = i - static_cast<size_t>(ns[i]);
        want_per_bar.push_back(usable ? walk(end + 1 > ms[i] ? end + 1 - static_cast<size_t>(ms[i]) : 0,
                                             end, static_cast<uint64_t>(ts[i]), i)
                                      : INV);
      }
      // Bit for bit: a +0 where the heap gives -0 is a different output text.
      auto bits = [](const std::vector<double>& values) {
        std::vector<uint64_t> out(values.size());
        std::memcpy(out.data(), values.data(), values.size() * sizeof(double));
        return out;
      };
      EXPECT_EQ(bits(f.constant(series, 3, m, t).getRawData()), bits(want_constant)) << round;
      EXPECT_EQ(bits(f.per_bar(series, Series(ns), Series(ms), Series(ts)).getRawData()),
                bits(want_per_bar))
          << round;
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
