#include "strategy/reference/llv_bars_strategy.h"

#include "strategy/reference/window_extreme.h"
#include "strategy/util/args.h"

DataExt LlvBars(const DataExt& x, unsigned long n) {
  return DataExt(CountWindowExtreme<LowSide, EvictGreaterOrEqual>(
      x.getRawData(), n, [](size_t i, size_t k) { return static_cast<double>(i - k); }));
}

DataExt LlvBars(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarExtremeBars<LowSide>(x.getRawData(), n.getRawData()));
}

DataExt LlvBarsStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(LlvBars));
}
