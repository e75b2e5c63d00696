#include "strategy/reference/hhv_bars_strategy.h"

#include "strategy/reference/window_extreme.h"
#include "strategy/util/args.h"

DataExt HhvBars(const DataExt& x, unsigned long n) {
  return DataExt(CountWindowExtreme<HighSide, EvictSmaller>(
      x.getRawData(), n, [](size_t i, size_t k) { return static_cast<double>(i - k); }));
}

DataExt HhvBars(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarExtremeBars<HighSide>(x.getRawData(), n.getRawData()));
}

DataExt HhvBarsStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(HhvBars));
}
