// Every statistics function against plain per-window definitions (sums
// re-taken over each window, centred least squares) on random series with an
// invalid lead-in and scattered gaps; then every strategy with absurd
// arguments. The running sums round differently from re-taken sums, so
// values are compared to 1e-8.

#include <cmath>
#include <random>

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

enum Fn { kStd, kStdp, kVar, kVarp, kDevSq, kAveDev, kSlope, kForcast, kCovar, kRelate };

// The functions are reached through their strategies: a number period picks
// the constant variant, a series the per-bar one.
struct Function {
  Fn fn;
  std::unique_ptr<Strategy> (*make)();
};
const Function kAll[] = {
    {kStd, Make<StdStrategy>},         {kStdp, Make<StdpStrategy>},
    {kVar, Make<VarStrategy>},         {kVarp, Make<VarpStrategy>},
    {kDevSq, Make<DevSqStrategy>},     {kAveDev, Make<AveDevStrategy>},
    {kSlope, Make<SlopeStrategy>},     {kForcast, Make<ForcastStrategy>},
    {kCovar, Make<CovarStrategy>},     {kRelate, Make<RelateStrategy>}};

bool IsPair(Fn fn) { return fn == kCovar || fn == kRelate; }

std::vector<double> RunPeriod(const Function& f, const std::vector<double>& x,
                              const std::vector<double>& y, DataExt period) {
  Environment env;
  std::vector<DataExt> args = {Series(x), Series(y), std::move(period)};
  if (!IsPair(f.fn)) args.erase(args.begin() + 1);
  return f.make()->Exec(std::move(args), env, nullptr).getRawData();
}

double Mask(double v) { return v == INV ? 0.0 : v; }
bool StoresGaps(Fn fn) { return fn == kStd || fn == kStdp; }

// One function over the window x[begin..i], straight from its definition;
// `per_bar` selects RELATE's per-bar divisor c - 1 and its zero guard.
double Plain(Fn fn, const std::vector<double>& x, const std::vector<double>& y, size_t begin,
             size_t i, bool per_bar) {
  const double c = static_cast<double>(i - begin + 1);
  double sx = 0, sy = 0, st = 0;
  for (size_t k = begin; k <= i; ++k) sx += Mask(x[k]), sy += Mask(y[k]), st += k;
  const double mx = sx / c, my = sy / c, mt = st / c;
  double xx = 0, yy = 0, xy = 0, ab = 0, tt = 0, tx = 0;
  for (size_t k = begin; k <= i; ++k) {
    const double dx = (StoresGaps(fn) ? x[k] : Mask(x[k])) - mx, dy = Mask(y[k]) - my;
    const double dt = static_cast<double>(k) - mt;
    xx += dx * dx, yy += dy * dy, xy += dx * dy, ab += std::fabs(dx), tt += dt * dt, tx += dt * dx;
  }
  const double d = per_bar ? c - 1 : c, spread = std::sqrt(yy / d) * std::sqrt(xx / d);
  switch (fn) {
    case kStd: return c == 1 ? INV : std::sqrt(xx / (c - 1));
    case kStdp: return std::sqrt(xx / c);
    case kVar: return c == 1 ? INV : xx / (c - 1);
    case kVarp: return xx / c;
    case kDevSq: return xx;
    case kAveDev: return ab / c;
    case kSlope: return c == 1 ? 1.0 : tx / tt;
    case kForcast: return c == 1 ? Mask(x[i]) : mx + tx / tt * (static_cast<double>(i) - mt);
    case kCovar: return xy / c;
    case kRelate: return per_bar && spread == 0 ? INV : (xy / d) / spread;
  }
  return INV;
}

size_t FirstValid(Fn fn, const std::vector<double>& x, const std::vector<double>& y) {
  size_t f = 0;
  while (f < x.size() && (x[f] == INV || (IsPair(fn) && y[f] == INV))) ++f;
  return f;
}

std::vector<double> PlainConstant(Fn fn, const std::vector<double>& x,
                                  const std::vector<double>& y, size_t n) {
  const size_t f = FirstValid(fn, x, y);
  std::vector<double> out;
  for (size_t i = 0; i < x.size(); ++i) {
    bool valid = i + 1 >= f + n && !(StoresGaps(fn) && x[i] == INV);
    out.push_back(valid ? Plain(fn, x, y, i + 1 - n, i, false) : INV);
  }
  return out;
}

std::vector<double> PlainPerBar(Fn fn, const std::vector<double>& x, const std::vector<double>& y,
                                const std::vector<double>& n) {
  const size_t f = FirstValid(fn, x, y);
  std::vector<double> out;
  for (size_t i = 0; i < x.size(); ++i) {
    const int64_t start = NaiveWindowStart(f, i, n[i]);
    if (i < f || (StoresGaps(fn) && x[i] == INV)) {
      out.push_back(INV);
    } else if (start > static_cast<int64_t>(i)) {
      out.push_back(fn == kStd || fn == kDevSq ? 0.0 : INV);
    } else {
      out.push_back(Plain(fn, x, y, static_cast<size_t>(start), i, true));
    }
  }
  return out;
}

std::vector<double> RandomWalk(std::mt19937& rng, size_t length) {
  std::uniform_real_distribution<double> step(-1.0, 1.0);
  std::bernoulli_distribution gap(0.1);
  std::vector<double> x(length);
  double level = 100;
  for (size_t i = 0; i < length; ++i) {
    level += step(rng);
    // Never two gaps in a row after the lead-in: a window of gaps only is
    // flat, and its correlation 0/0 is at the mercy of the running sums.
    x[i] = (i < 3 || (gap(rng) && x[i - 1] != INV)) ? INV : level;
  }
  return x;
}

TEST(StatisticsReference, ConstantPeriod) {
  std::mt19937 rng(20240315);
  for (size_t n : {2, 3, 7, 20}) {
    const std::vector<double> x = RandomWalk(rng, 300), y = RandomWalk(rng, 300);
    for (const Function& f : kAll) {
      SCOPED_TRACE(::testing::Message() << "function " << f.fn << " N " << n);
      EXPECT_TRUE(SeriesNear(RunPeriod(f, x, y, Number(n)), PlainConstant(f.fn, x, y, n), 1e-8));
    }
  }
}

TEST(StatisticsReference, PerBarPeriod) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> period(-2, 25);
  const std::vector<double> x = RandomWalk(rng, 300), y = RandomWalk(rng, 300);
  std::vector<double> n(300);
  for (double& p : n) p = period(rng) + (rng() % 4 == 0 ? 0.5 : 0.0);
  n[10] = std::nan(""), n[11] = 1e300, n[12] = -1e300;
  for (const Function& f : kAll) {
    SCOPED_TRACE(::testing::Message() << "function " << f.fn);
    EXPECT_TRUE(SeriesNear(RunPeriod(f, x, y, Series(n)), PlainPerBar(f.fn, x, y, n), 1e-8));
  }
}

TEST(StatisticsExec, PeriodKinds) {
  // A number period is truncated (-0.5 is the empty window 0, -1 and below a
  // window longer than the data); a string period or a number in place of X
  // gives nothing.
  const DataExt x = Series({1, 2, 3});
  EXPECT_SERIES(Call<StdStrategy>({x, Number(3.9)}).getRawData(), {INV, INV, 1});
  EXPECT_SERIES(Call<DevSqStrategy>({x, Number(-0.5)}).getRawData(), {0, 0, 0});
  EXPECT_SERIES(Call<DevSqStrategy>({x, Number(-2)}).getRawData(), {INV, INV, INV});
  EXPECT_SERIES(Call<AveDevStrategy>({x, Number(-1)}).getRawData(), {INV, INV, INV});
  EXPECT_SERIES(Call<SlopeStrategy>({x, Number(-1)}).getRawData(), {INV, INV, INV});
  EXPECT_SERIES(Call<ForcastStrategy>({x, Number(-1e300)}).getRawData(), {INV, INV, INV});
  EXPECT_SERIES(Call<StdStrategy>({x, Text("3")}).getRawData(), {});
  EXPECT_SERIES(Call<StdStrategy>({Number(5), Number(3)}).getRawData(), {});
}

}  // namespace
