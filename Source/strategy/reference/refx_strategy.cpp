#include "strategy/reference/refx_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

namespace {

// x[i + k] when that bar exists; written so that i + k cannot wrap.
double Ahead(const std::vector<double>& xs, size_t i, uint64_t k) {
  return k < xs.size() - i ? xs[i + k] : kInvalidValue;
}

}  // namespace

DataExt Refx(const DataExt& x, unsigned long n) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out;
  out.reserve(xs.size());
  for (size_t i = 0; i < xs.size(); ++i) out.push_back(Ahead(xs, i, n));
  return DataExt(std::move(out));
}

DataExt Refx(const DataExt& x, const DataExt& n) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const size_t len = MinLength(xs, ns);
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) out.push_back(Ahead(xs, i, ToCount(ns[i])));
  return DataExt(std::move(out));
}

DataExt RefxStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Refx));
}
