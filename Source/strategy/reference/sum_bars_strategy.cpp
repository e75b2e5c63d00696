#include "strategy/reference/sum_bars_strategy.h"

#include <cmath>

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"
#include "util/cancel.h"

namespace {

// What the walk over bars f..k could still add at most: the sum of the
// positive valid values there (`positive`), and of all magnitudes (`size`)
// for the rounding margin. A walk whose sum cannot reach its target even
// with every positive value still ahead stops early with the same answer a
// full walk gives (the bar's own index), so a target never reached costs
// one check instead of a walk over the whole history.
struct Reach {
  std::vector<double> positive;
  std::vector<double> size;

  Reach(const std::vector<double>& xs, size_t f, size_t len) : positive(len, 0.0), size(len, 0.0) {
    double p = 0.0, a = 0.0;
    for (size_t k = f; k < len; ++k) {
      if (IsValid(xs[k])) {
        if (xs[k] > 0.0) p += xs[k];
        a += std::fabs(xs[k]);
        if (std::isnan(xs[k])) p = a = NAN;
      }
      positive[k] = p;
      size[k] = a;
    }
  }

  // False only when sum plus everything bars f..k may add stays below the
  // target. Each addition rounds by at most half an ulp of a partial sum,
  // and no partial sum exceeds |sum| + size[k] in magnitude; twice that
  // error over k + 2 additions (the prefix sums' own rounding included)
  // bounds how far the float walk can drift from the exact one. NaN and
  // infinite sums make the test pass, and the walk decides.
  bool Reachable(double sum, size_t k, double target) const {
    const double margin =
        (std::fabs(sum) + size[k]) * (static_cast<double>(k) + 2.0) * 2.220446049250313e-16;
    return !(sum + positive[k] + margin < target);
  }
};

constexpr size_t kCheckEvery = 256;

// Bars before f are invalid and add nothing, so the walk can stop at f.
double BarsToReach(const std::vector<double>& xs, const Reach& reach, size_t f, size_t i,
                   double target) {
  double sum = 0.0;
  for (size_t k = i + 1; k-- > f;) {
    if ((i - k) % kCheckEvery == 0 && !reach.Reachable(sum, k, target)) break;
    if (!IsValid(xs[k])) continue;
    sum = sum + xs[k];
    if (sum >= target) return static_cast<double>(i - k + 1);
    // A NaN sum stays NaN and never reaches the target.
    if (std::isnan(sum)) break;
  }
  return static_cast<double>(i);
}

}  // namespace

DataExt SumBars(const DataExt& x, const DataExt& a) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& as = a.getRawData();
  const size_t len = MinLength(xs, as);
  const size_t f = FirstValidBar(xs);
  const Reach reach(xs, f, len);
  CancelPoll poll;
  return DataExt(FromFirstValid(len, f, [&](size_t i) {
    if (std::isnan(as[i])) return static_cast<double>(i);  // no sum compares >= NaN
    const double bars = BarsToReach(xs, reach, f, i, as[i]);
    poll.Step(static_cast<size_t>(bars) + 1);  // at most the bars walked back
    return bars;
  }));
}

DataExt SumBarsStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kWidenedToFirst>(SumBars);
}
