#include "strategy/logic/nday_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt NDay(const DataExt& x_value, const DataExt& y_value, double n) {
  const std::vector<double>& x = x_value.m_raw_data;
  const std::vector<double>& y = y_value.m_raw_data;
  return StreakReaches(
      x.size(), MinLength(x, y), [&x, &y](size_t i) { return x[i] > y[i]; },
      [n](size_t) { return n; });
}

DataExt NDay(const DataExt& x_value, const DataExt& y_value, const DataExt& n_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  const std::vector<double>& y = y_value.m_raw_data;
  const std::vector<double>& n = n_value.m_raw_data;
  return StreakReaches(
      x.size(), MinLength(x, y, n), [&x, &y](size_t i) { return x[i] > y[i]; },
      [&n](size_t i) { return n[i]; });
}

DataExt NDayStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(NDay));
}
