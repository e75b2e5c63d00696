#include "strategy/reference/wma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Wma(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  const uint64_t first_full = FirstFullWindow(f, n);
  return DataExt(FromFirstValid(xs.size(), f, [&](size_t i) {
    if (i < first_full) return kInvalidValue;
    // The weights move with the window, so every window is summed afresh.
    WeightedSumOfValid acc;
    const size_t start = i + 1 - n;
    for (size_t k = start; k <= i; ++k) acc.Add(xs[k], static_cast<double>(k - start + 1));
    return acc.sum / acc.divisor;
  }));
}

DataExt Wma(const DataExt& x, const DataExt& n) {
  auto average = [](const WeightedSumOfValid& acc, double) { return acc.sum / acc.divisor; };
  // An empty window divides the empty sums: NaN.
  return DataExt(PerBarWindow<WeightedSumOfValid>(x.getRawData(), n.getRawData(),
                                                  average(WeightedSumOfValid(), 0.0), average));
}

DataExt WmaStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Wma));
}
