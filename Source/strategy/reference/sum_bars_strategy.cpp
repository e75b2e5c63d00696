#include "strategy/reference/sum_bars_strategy.h"

#include <cmath>

#include "strategy/util/strategy_util.h"

namespace {

// Bars before f are invalid and add nothing, so the walk can stop at f.
double BarsToReach(const std::vector<double>& xs, size_t f, size_t i, double target) {
  double sum = 0.0;
  for (size_t k = i + 1; k-- > f;) {
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
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    if (i < f) {
      out.push_back(kInvalidValue);
    } else if (std::isnan(as[i])) {
      out.push_back(static_cast<double>(i));  // no sum compares >= NaN
    } else {
      out.push_back(BarsToReach(xs, f, i, as[i]));
    }
  }
  return DataExt(std::move(out));
}

DataExt SumBarsStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  WidenToBars(args[1], args[0].getRawData().size());
  if (!args[1].isListType()) return DataExt();
  return SumBars(args[0], args[1]);
}
