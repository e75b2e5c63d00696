#include "strategy/logic/exist_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt Exist(const DataExt& x, unsigned long n) {
  return CountTrueInWindow(x.m_raw_data, n, [](uint64_t count) { return count > 0; });
}

DataExt Exist(const DataExt& x_value, const DataExt& n_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  const std::vector<double>& n = n_value.m_raw_data;
  const size_t first = FirstValidBar(x);
  // The window always ends at i, so it holds a true value exactly when the
  // latest true position is not older than its start.
  int64_t last_true = -1;
  return DataExt(FromFirstValid(MinLength(x, n), first, [&](size_t i) {
    if (Holds(x[i])) last_true = static_cast<int64_t>(i);
    const int64_t start = WindowStartFrom(first, i, n[i]);
    return last_true >= 0 && last_true >= start ? 1.0 : 0.0;
  }));
}

DataExt ExistStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Exist));
}
