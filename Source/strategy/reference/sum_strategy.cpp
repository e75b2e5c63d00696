#include "strategy/reference/sum_strategy.h"

#include "strategy/reference/window_sums.h"

namespace {

std::vector<double> CumulativeSum(const std::vector<double>& xs) {
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(xs.size());
  double s = 0.0;
  for (size_t i = 0; i < xs.size(); ++i) {
    if (i < f) {
      out.push_back(kInvalidValue);
      continue;
    }
    if (IsValid(xs[i])) s = s + xs[i];
    out.push_back(s);
  }
  return out;
}

}  // namespace

DataExt Sum(const DataExt& x, unsigned long n) {
  if (n == 0) return DataExt(CumulativeSum(x.getRawData()));
  return DataExt(RollingWindowSum(x.getRawData(), n, [](double s) { return s; }));
}

DataExt Sum(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  const size_t f = FirstValidBar(xs);
  std::vector<double> out;
  out.reserve(len);
  GrowingWindow<SumOfValid> window;
  for (size_t i = 0; i < len; ++i) {
    if (i < f) {
      out.push_back(kInvalidValue);
      continue;
    }
    const int64_t start = WindowStartFrom(f, i, ns[i]);
    if (start > static_cast<int64_t>(i)) {
      out.push_back(0.0);
      continue;
    }
    out.push_back(window.Over(xs, static_cast<size_t>(start), i).sum);
  }
  return DataExt(std::move(out));
}

DataExt SumStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  switch (KindOf(args[1])) {
    case ArgKind::kSeries: return Sum(args[0], args[1]);
    case ArgKind::kNumber: return Sum(args[0], ToCount(args[1].getSingleNumber()));
    default: return DataExt();
  }
}
