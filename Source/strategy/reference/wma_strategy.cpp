#include "strategy/reference/wma_strategy.h"

#include "strategy/reference/window_sums.h"

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
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(len);
  GrowingWindow<WeightedSumOfValid> window;
  for (size_t i = 0; i < len; ++i) {
    if (i < f) {
      out.push_back(kInvalidValue);
      continue;
    }
    const int64_t start = WindowStartFrom(f, i, ns[i]);
    if (start > static_cast<int64_t>(i)) {
      const WeightedSumOfValid empty;
      out.push_back(empty.sum / empty.divisor);
      continue;
    }
    const WeightedSumOfValid& acc = window.Over(xs, static_cast<size_t>(start), i);
    out.push_back(acc.sum / acc.divisor);
  }
  return DataExt(std::move(out));
}

DataExt ExecWeightedAverage(std::vector<DataExt>& args) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  switch (KindOf(args[1])) {
    case ArgKind::kSeries: return Wma(args[0], args[1]);
    case ArgKind::kNumber: return Wma(args[0], ToCount(args[1].getSingleNumber()));
    default: return DataExt();
  }
}

DataExt WmaStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  return ExecWeightedAverage(args);
}
