#include "strategy/reference/llv_strategy.h"

#include "strategy/reference/window_extreme.h"
#include "strategy/util/args.h"

DataExt Llv(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  // An invalid extreme reads 0.0.
  return DataExt(CountWindowExtreme<LowSide, EvictGreater>(
      xs, n, [&xs](size_t, size_t k) { return ValueOrZero(xs[k]); }));
}

DataExt Llv(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarExtremeValue<LowSide>(x.getRawData(), n.getRawData()));
}

DataExt LlvStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Llv));
}

bool LlvStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                         NodeState& state) const {
  const std::optional<double> n = NumberArg(args, 1);
  if (!n || ToCount(*n) == 0) return false;
  const uint64_t count = ToCount(*n);
  return ResumeWindowExtreme<LowSide>(args, from, state,
                                      [count](size_t i) { return KeepFromCount(i, count); });
}

size_t LlvStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
