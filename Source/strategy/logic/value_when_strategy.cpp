#include "strategy/logic/value_when_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt ValueWhen(const DataExt& k_value, const DataExt& x_value) {
  const std::vector<double>& k = k_value.m_raw_data;
  const std::vector<double>& x = x_value.m_raw_data;
  const size_t length = MinLength(k, x);
  const size_t first = FirstValidBar(k);
  // Bar 0 has no previous output and takes x[0] whatever k says; a later
  // first valid bar starts from the invalid output before it.
  double held = first == 0 && length > 0 ? x[0] : kInvalidValue;
  return DataExt(FromFirstValid(length, first, [&](size_t i) {
    const double current = x[i];
    held = Holds(k[i]) ? current : held;
    return held;
  }));
}

DataExt ValueWhenStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(ValueWhen);
}
