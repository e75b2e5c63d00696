#include "strategy/reference/ma_strategy.h"

#include "strategy/reference/window_sums.h"

DataExt Ma(const DataExt& x, unsigned long n) {
  if (n == 0) return DataExt();
  const double divisor = static_cast<double>(n);
  return DataExt(RollingWindowSum(x.getRawData(), n, [divisor](double s) { return s / divisor; }));
}

DataExt Ma(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(len);
  GrowingWindow<SumOfValid> window;
  for (size_t i = 0; i < len; ++i) {
    const int64_t start = WindowStartFrom(f, i, ns[i]);
    if (i < f || start > static_cast<int64_t>(i)) {
      out.push_back(kInvalidValue);
      continue;
    }
    const size_t from = static_cast<size_t>(start);
    // Invalid values count in the divisor but add nothing to the sum.
    out.push_back(window.Over(xs, from, i).sum / static_cast<double>(i - from + 1));
  }
  return DataExt(std::move(out));
}

DataExt MaStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  switch (KindOf(args[1])) {
    case ArgKind::kSeries: return Ma(args[0], args[1]);
    case ArgKind::kNumber: return Ma(args[0], ToCount(args[1].getSingleNumber()));
    default: return DataExt();
  }
}
