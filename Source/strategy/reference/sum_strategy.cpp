#include "strategy/reference/sum_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

namespace {

double Itself(double s) { return s; }

}  // namespace

// n = 0 sums every bar from the first valid one.
DataExt Sum(const DataExt& x, unsigned long n) {
  return DataExt(RollingWindowSum(x.getRawData(), n, Itself));
}

DataExt Sum(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarWindow<SumOfValid>(x.getRawData(), n.getRawData(), 0.0,
                                          [](const SumOfValid& acc, double) { return acc.sum; }));
}

DataExt SumStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Sum));
}

bool SumStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  const std::optional<double> n = NumberArg(args, 1);
  return n && ResumeWindowSum(args, ToCount(*n), from, state, Itself);
}

size_t SumStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
