// Statistics functions on small windows whose values were worked out by hand
// (the derivation of each less obvious expected value is in the comments).

#include <cmath>

#include "strategy/statistics/ave_dev_strategy.h"
#include "strategy/statistics/covar_strategy.h"
#include "strategy/statistics/dev_sq_strategy.h"
#include "strategy/statistics/forcast_strategy.h"
#include "strategy/statistics/relate_strategy.h"
#include "strategy/statistics/slope_strategy.h"
#include "strategy/statistics/std_strategy.h"
#include "strategy/statistics/stdp_strategy.h"
#include "strategy/statistics/var_strategy.h"
#include "strategy/statistics/varp_strategy.h"
#include "strategy_test_util.h"

namespace {

struct Case {
  const char* name;
  DataExt (*fn)(const DataExt&, unsigned long);
  std::vector<double> x;
  unsigned long n;
  std::vector<double> want;
};

// {1,2,3}: mean 2, squared deviations 2, absolute deviations 2.
// kGappy, N = 3 (first valid bar 1): bar 4 masked window {2,3,0}: mean 5/3,
// Q = (1 + 16 + 25) / 9 = 42/9, D = 10/3; bar 5 {3,0,3}: mean 2, Q 6, D 4.
// STD/STDP at bar 5: the mean sums valid values only, (3 + 3) / 3 = 2, but
// the gap enters the deviations as -100000: Q = 1 + 100002^2 + 1.
// kLineGaps, N = 3, t = bar index: bar 3 y {1,2,0} t {1,2,3}: b = (5 - 6) / 2,
// FORCAST -1.5 + (1 - 2 * -0.5) = 0.5; bar 4 y {2,0,4}: b = (20 - 18) / 2 = 1,
// FORCAST 4 + (2 - 3) = 3.
const std::vector<double> kGappy = {INV, 1, 2, 3, INV, 3};
const std::vector<double> kLineGaps = {INV, 1, 2, INV, 4};

TEST(StatisticsExamples, ConstantPeriod) {
  const double big_q = 10000400006.0;
  const std::vector<Case> cases = {
      {"STD", Std, {1, 2, 3}, 3, {INV, INV, 1.0}},
      {"STDP", Stdp, {1, 2, 3}, 3, {INV, INV, std::sqrt(2.0 / 3)}},
      {"VAR", Var, {1, 2, 3}, 3, {INV, INV, 1.0}},
      {"VARP", Varp, {1, 2, 3}, 3, {INV, INV, 2.0 / 3}},
      {"DEVSQ", DevSq, {1, 2, 3}, 3, {INV, INV, 2.0}},
      {"AVEDEV", AveDev, {1, 2, 3}, 3, {INV, INV, 2.0 / 3}},
      {"SLOPE", Slope, {1, 2, 3}, 3, {INV, INV, 1.0}},
      {"FORCAST", Forcast, {1, 2, 3}, 3, {INV, INV, 3.0}},
      {"STD gaps", Std, kGappy, 3, {INV, INV, INV, 1.0, INV, std::sqrt(big_q / 2)}},
      {"VAR gaps", Var, kGappy, 3, {INV, INV, INV, 1.0, 21.0 / 9, 3.0}},
      {"AVEDEV gaps", AveDev, kGappy, 3, {INV, INV, INV, 2.0 / 3, 10.0 / 9, 4.0 / 3}},
      {"SLOPE gaps", Slope, kLineGaps, 3, {INV, INV, INV, -0.5, 1.0}},
      {"FORCAST gaps", Forcast, kLineGaps, 3, {INV, INV, INV, 0.5, 3.0}},
      {"SLOPE flat", Slope, {5, 5, 5, 5}, 3, {INV, INV, 0.0, 0.0}},
      {"FORCAST flat", Forcast, {5, 5, 5, 5}, 3, {INV, INV, 5.0, 5.0}},
      {"STD N=1", Std, {1, 2, 3}, 1, {INV, INV, INV}},
      {"VAR N=1", Var, {1, 2, 3}, 1, {INV, INV, INV}},
      {"VARP N=0", Varp, {1, 2}, 0, {INV, INV}},
      {"DEVSQ N=1", DevSq, {INV, 4, INV}, 1, {INV, 0.0, 0.0}},
      {"SLOPE N=1", Slope, {INV, 4, INV, 6}, 1, {INV, 1.0, 1.0, 1.0}},
      {"FORCAST N=1", Forcast, {INV, 4, INV, 6}, 1, {INV, 4.0, 0.0, 6.0}},
      {"DEVSQ N=0: empty window", DevSq, {INV, 1, 2}, 0, {INV, 0.0, 0.0}},
      {"AVEDEV N=0: 0/0", AveDev, {INV, 1, 2}, 0, {INV, kNaN, kNaN}},
      {"SLOPE N=0: 0/0", Slope, {INV, 4, 6}, 0, {INV, kNaN, kNaN}},
      {"VAR N beyond data", Var, {1, 2, 3}, 4, {INV, INV, INV}},
      {"AVEDEV huge N", AveDev, {1, 2, 3}, ~0ul, {INV, INV, INV}},
      {"FORCAST huge N", Forcast, {1, 2}, ~0ul, {INV, INV}},
      // A NaN stays in the running sum of the mean once it has entered.
      {"VARP NaN", Varp, {1, kNaN, 3, 4}, 2, {INV, kNaN, kNaN, kNaN}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_SERIES_NEAR(c.fn(Series(c.x), c.n).getRawData(), (c.want), 1e-12);
  }
}

// {1,2,3,4} with period 3: windows {1}, {1,2} (mean 1.5, Q 0.5, D 1),
// {1,2,3}, {2,3,4}. Periods {3,0,-1,2.5}: bars 1 and 2 have empty windows;
// 2.5 at bar 3 starts the window at trunc(1.5) = 1.
TEST(StatisticsExamples, PerBarPeriod) {
  struct PerBarCase {
    const char* name;
    DataExt (*fn)(const DataExt&, const DataExt&);
    std::vector<double> x, n, want;
  };
  const std::vector<double> x = {1, 2, 3, 4}, three = {3, 3, 3, 3}, odd = {3, 0, -1, 2.5};
  const double r23 = std::sqrt(2.0 / 3);
  const std::vector<PerBarCase> cases = {
      {"STD", Std, x, three, {INV, std::sqrt(0.5), 1, 1}},
      {"STDP", Stdp, x, three, {0, 0.5, r23, r23}},
      {"VAR", Var, x, three, {INV, 0.5, 1, 1}},
      {"VARP", Varp, x, three, {0, 0.25, 2.0 / 3, 2.0 / 3}},
      {"AVEDEV", AveDev, x, three, {0, 0.5, 2.0 / 3, 2.0 / 3}},
      {"STD empty windows", Std, x, odd, {INV, 0, 0, 1}},
      {"VAR empty windows", Var, x, odd, {INV, INV, INV, 1}},
      {"DEVSQ empty windows", DevSq, x, odd, {0, 0, 0, 2}},
      {"FORCAST empty windows", Forcast, x, odd, {1, INV, INV, 4}},
      // Window {INV,3}: mean 3/2 from the valid value, Q = 100001.5^2 + 1.5^2.
      {"STD gap is invalid", Std, {1, INV, 3}, {2, 2, 2}, {INV, INV, std::sqrt(10000300004.5)}},
      {"VAR gap is 0", Var, {1, INV, 3}, {2, 2, 2}, {INV, 0.5, 4.5}},
      {"period series shorter", Varp, x, {2, 2}, {0, 0.25}},
  };
  for (const PerBarCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_SERIES_NEAR(c.fn(Series(c.x), Series(c.n)).getRawData(), (c.want), 1e-12);
  }
}

// A = {1,2,3,4}, B = {2,4,6,9}, N = 3: bar 2 da {-1,0,1}, db {-2,0,2}: sum 4,
// COVAR 4/3, RELATE (4/3) / sqrt(8/3 * 2/3) = 1; bar 3: mean B 19/3,
// db {-7/3,-1/3,8/3} (squares 114/9), da {-1,0,1}: sum 5, COVAR 5/3.
// {1,2,INV,4} against {1,2,3,4}, N = 2, the gap as 0: bar 2 {2,0} vs {2,3}
// gives -1/2, bar 3 {0,4} vs {3,4} gives 1.
TEST(StatisticsExamples, TwoSeries) {
  struct PairCase {
    const char* name;
    DataExt (*fn)(const DataExt&, const DataExt&, unsigned long);
    std::vector<double> a, b;
    unsigned long n;
    std::vector<double> want;
  };
  const double r_bar3 = (5.0 / 3) / (std::sqrt(114.0 / 27) * std::sqrt(2.0 / 3));
  const std::vector<PairCase> cases = {
      {"COVAR(A,A,3)", Covar, {1, 2, 3}, {1, 2, 3}, 3, {INV, INV, 2.0 / 3}},
      {"RELATE(A,A,3)", Relate, {1, 2, 3}, {1, 2, 3}, 3, {INV, INV, 1.0}},
      {"COVAR", Covar, {1, 2, 3, 4}, {2, 4, 6, 9}, 3, {INV, INV, 4.0 / 3, 5.0 / 3}},
      {"RELATE", Relate, {1, 2, 3, 4}, {2, 4, 6, 9}, 3, {INV, INV, 1.0, r_bar3}},
      {"COVAR gap", Covar, {1, 2, INV, 4}, {1, 2, 3, 4}, 2, {INV, 0.25, -0.5, 1.0}},
      {"both valid from bar 2", Covar, {INV, 1, 2, 3, 4}, {5, INV, 2, 4, 6}, 2,
       {INV, INV, INV, 0.5, 0.5}},
      {"shorter B", Covar, {1, 2, 3, 4, 5}, {1, 2, 3}, 2, {INV, 0.25, 0.25}},
      {"RELATE flat window", Relate, {1, 1, 1}, {1, 2, 3}, 3, {INV, INV, kNaN}},
      {"COVAR N=1", Covar, {1, 2}, {1, 2}, 1, {INV, INV}},
      {"RELATE huge N", Relate, {1, 2}, {1, 2}, ~0ul, {INV, INV}},
  };
  for (const PairCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_SERIES_NEAR(c.fn(Series(c.a), Series(c.b), c.n).getRawData(), (c.want), 1e-12);
  }
  // Per-bar guards: a one-bar window gives COVAR 0 but RELATE 0/(c-1) = NaN;
  // a flat window makes RELATE's denominator 0 (invalid), as does a period
  // below 1; the shortest of the three inputs bounds the result.
  EXPECT_SERIES_NEAR(Relate(Series({1, 1, 1, 5}), Series({1, 2, 3, 4}), Series({3, 3, 0, 2}))
                         .getRawData(),
                     {kNaN, INV, INV, 1.0}, 1e-12);
  EXPECT_SERIES(Covar(Series({1, 2, 3}), Series({1, 2, 3}), Series({2, -5})).getRawData(),
                {0, INV});
}

}  // namespace
