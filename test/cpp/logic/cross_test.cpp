// The linear-time LONGCROSS series variant against a plain count-back over
// random series.

#include <random>

#include "logic_strategies.h"

namespace {

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
