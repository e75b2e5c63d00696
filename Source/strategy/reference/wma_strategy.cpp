#include "strategy/reference/wma_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Wma(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  const uint64_t full = AddCount(f, n);
  std::vector<double> out;
  out.reserve(xs.size());
  for (size_t i = 0; i < xs.size(); ++i) {
    if (i < f || i + 1 < full) {
      out.push_back(kInvalidValue);
      continue;
    }
    // The weights move with the window, so every window is summed afresh.
    WeightedSumOfValid acc;
    const size_t start = i + 1 - n;
    for (size_t k = start; k <= i; ++k) acc.Add(xs[k], static_cast<double>(k - start + 1));
    out.push_back(acc.sum / acc.divisor);
  }
  return DataExt(std::move(out));
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
