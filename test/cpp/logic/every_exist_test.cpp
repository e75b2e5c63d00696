// EVERY and EXIST: windows by hand for both variants; the running-count and
// run-length versions against a plain rescan of each window over random
// series.

#include <climits>
#include <random>

#include "logic_strategies.h"

namespace {

// Rescans the window [max(f, start(i)), i] at every bar: EVERY wants the
// run of true bars ending at i to fill `need(i)`, EXIST any true bar.
template <typename Start, typename Need>
std::vector<double> Rescan(const std::vector<double>& x, bool every, Start start_of, Need need) {
  size_t f = 0;
  while (f < x.size() && x[f] == INV) ++f;
  std::vector<double> out(x.size(), INV);
  for (size_t i = f; i < x.size(); ++i) {
    const long long start = std::max<long long>(f, start_of(i));
    double run = 0, any = 0;
    for (long long j = static_cast<long long>(i); j >= start && x[j] > 0; --j) run += 1;
    for (long long j = start; j <= static_cast<long long>(i); ++j) any += x[j] > 0;
    out[i] = every ? run == need(i) : any > 0;
  }
  return out;
}

TEST(EveryExist, RunningVersionsMatchWindowRescan) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> pick(0, 9), period(-1, 9);
  for (int round = 0; round < 30; ++round) {
    std::vector<double> x, p;
    for (int i = 0; i < 300; ++i) {
      const int k = pick(rng);
      x.push_back(i < round % 7 ? INV : k < 6 ? 1.0 : k < 8 ? 0.0 : k < 9 ? -1.0 : INV);
      p.push_back(period(rng) + (round % 2) * 0.5);
    }
    const unsigned long n = round % 6;
    const long long width = n > 0 ? n : 1;  // a count of 0 still holds bar i
    auto count_start = [&](size_t i) { return static_cast<long long>(i) - width + 1; };
    auto series_start = [&](size_t i) { return static_cast<long long>(i - p[i] + 1.0); };
    SCOPED_TRACE(round);
    EXPECT_SERIES(Every(Series(x), n).m_raw_data,
                  (Rescan(x, true, count_start, [&](size_t) { return double(n); })));
    EXPECT_SERIES(Exist(Series(x), n).m_raw_data,
                  (Rescan(x, false, count_start, [](size_t) { return 0.0; })));
    EXPECT_SERIES(Every(Series(x), Series(p)).m_raw_data,
                  (Rescan(x, true, series_start, [&](size_t i) { return p[i]; })));
    EXPECT_SERIES(Exist(Series(x), Series(p)).m_raw_data,
                  (Rescan(x, false, series_start, [](size_t) { return 0.0; })));
  }
}

}  // namespace
