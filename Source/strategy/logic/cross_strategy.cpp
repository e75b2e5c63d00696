#include "strategy/logic/cross_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt Cross(const DataExt& a_value, const DataExt& b_value) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const size_t length = MinLength(a, b);
  const size_t first = FirstValidBarOfBoth(a, b);
  std::vector<double> out(length, kInvalidValue);
  if (first > 0 && first < length) out[first] = 0.0;
  // From the first valid bar on, gaps are compared as plain numbers.
  for (size_t i = first + 1; i < length; ++i) {
    out[i] = b[i - 1] > a[i - 1] && a[i] > b[i] ? 1.0 : 0.0;
  }
  return DataExt(std::move(out));
}

DataExt CrossStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(Cross);
}
