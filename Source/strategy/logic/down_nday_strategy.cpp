#include "strategy/logic/down_nday_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

namespace {

// Bar 0 is compared with itself, which is never a fall; the index trick
// keeps the streak loop free of branches.
bool FellAt(const std::vector<double>& x, size_t i) { return x[i] < x[i - (i > 0)]; }

}  // namespace

DataExt DownNDay(const DataExt& x_value, double n) {
  const std::vector<double>& x = x_value.m_raw_data;
  return StreakReaches(
      x.size(), x.size(), [&x](size_t i) { return FellAt(x, i); }, [n](size_t) { return n; });
}

DataExt DownNDay(const DataExt& x_value, const DataExt& n_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  const std::vector<double>& n = n_value.m_raw_data;
  return StreakReaches(
      x.size(), MinLength(x, n), [&x](size_t i) { return FellAt(x, i); },
      [&n](size_t i) { return n[i]; });
}

DataExt DownNDayStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(DownNDay));
}
