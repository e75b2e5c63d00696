#include "strategy/reference/mular_strategy.h"

#include "strategy/reference/window_sums.h"
#include "strategy/util/args.h"

DataExt Mular(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  std::vector<double> out;
  out.reserve(len);
  GrowingWindow<ProductOfValid> window;
  for (size_t i = 0; i < len; ++i) {
    if (!IsValid(xs[i])) {
      out.push_back(kInvalidValue);
      continue;
    }
    const double bar = static_cast<double>(i);
    // ToCount saturates the start of a window given a huge negative period.
    const uint64_t start = ns[i] <= bar ? ToCount(bar - ns[i] + 1.0) : 0;
    if (start > i) {
      out.push_back(1.0);
      continue;
    }
    out.push_back(window.Over(xs, start, i).product);
  }
  return DataExt(std::move(out));
}

DataExt MularStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kWidenedToFirst>(Mular);
}
