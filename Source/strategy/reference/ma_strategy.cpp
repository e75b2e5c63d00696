#include "strategy/reference/ma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

auto DivideBy(unsigned long n) {
  const double divisor = static_cast<double>(n);
  return [divisor](double s) { return s / divisor; };
}

}  // namespace

DataExt Ma(const DataExt& x, unsigned long n) {
  if (n == 0) return DataExt();
  return DataExt(RollingWindowSum(x.getRawData(), n, DivideBy(n)));
}

DataExt Ma(const DataExt& x, const DataExt& n) {
  // Invalid values count in the divisor but add nothing to the sum.
  return DataExt(PerBarWindow<SumOfValid>(
      x.getRawData(), n.getRawData(), kInvalidValue,
      [](const SumOfValid& acc, double count) { return acc.sum / count; }));
}

DataExt MaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Ma));
}

bool MaStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                        NodeState& state) const {
  const std::optional<double> n = NumberArg(args, 1);
  if (!n || ToCount(*n) == 0) return false;
  return ResumeWindowSum(args, ToCount(*n), from, state, DivideBy(ToCount(*n)));
}

size_t MaStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
