#include "strategy/logic/cross_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt Cross(const DataExt& a_value, const DataExt& b_value) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const size_t first = FirstValidBarOfBoth(a, b);
  // The first valid bar has no previous bar to cross from: 0, except bar 0,
  // which stays invalid. From there on, gaps are compared as plain numbers.
  return DataExt(FromFirstValid(MinLength(a, b), first, [&](size_t i) {
    if (i == first) return first > 0 ? 0.0 : kInvalidValue;
    return b[i - 1] > a[i - 1] && a[i] > b[i] ? 1.0 : 0.0;
  }));
}

DataExt CrossStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(Cross);
}
