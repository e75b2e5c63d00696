#include "strategy/reference/hhv_strategy.h"

#include <cmath>

#include "strategy/reference/window_extreme.h"
#include "strategy/util/args.h"

namespace {

// HHV never reports the invalid value as an extreme: it reads 0.0.
auto FrontValue(const std::vector<double>& x) {
  return [&x](size_t, size_t k) { return ValueOrZero(x[k]); };
}

// Once n <= i, indices up to trunc(i - n) leave the window before bar i
// enters it. For n below 1 (negative included) that is every earlier bar, so
// the window is the bar itself; for a NaN n nothing ever leaves.
auto KeepFrom(double n) {
  return [n](size_t i) -> size_t {
    if (!(n <= static_cast<double>(i))) return 0;
    const double back = static_cast<double>(i) - n;
    return back >= static_cast<double>(i) ? i + 1 : static_cast<size_t>(back) + 1;
  };
}

}  // namespace

DataExt Hhv(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(CountWindowExtreme<HighSide, EvictSmaller>(xs, 0, FrontValue(xs)));
}

DataExt Hhv(const DataExt& x, double n) {
  if (n == 0.0) return Hhv(x);
  const std::vector<double>& xs = x.getRawData();
  const double len = static_cast<double>(xs.size());
  // A window never holds more than ceil(n) bars (one when n < 1), nor more
  // than the data; a NaN n lets nothing leave.
  const size_t capacity = !(n < len) ? xs.size() + 1
                          : n > 1.0  ? static_cast<size_t>(std::ceil(n)) + 1
                                     : 2;
  return DataExt(WindowExtreme<HighSide, EvictSmaller>(xs, false, capacity, KeepFrom(n),
                                                       FrontValue(xs)));
}

DataExt Hhv(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarExtremeValue<HighSide>(x.getRawData(), n.getRawData()));
}

DataExt HhvStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(Hhv));
}

bool HhvStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  const std::optional<double> n = NumberArg(args, 1);
  return n && *n > 0.0 && ResumeWindowExtreme<HighSide>(args, from, state, KeepFrom(*n));
}

size_t HhvStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
