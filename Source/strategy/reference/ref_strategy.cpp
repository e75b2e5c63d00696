#include "strategy/reference/ref_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt Ref(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out;
  out.reserve(xs.size());
  for (size_t i = 0; i < xs.size(); ++i) out.push_back(i < n ? kInvalidValue : xs[i - n]);
  return DataExt(std::move(out));
}

DataExt Ref(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    const uint64_t k = ToCount(ns[i]);
    out.push_back(i < k ? kInvalidValue : xs[i - k]);
  }
  return DataExt(std::move(out));
}

DataExt RefStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Ref));
}
