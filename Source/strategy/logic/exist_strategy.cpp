#include "strategy/logic/exist_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

namespace {

bool AnyHeld(uint64_t count, uint64_t) { return count > 0; }

}  // namespace

DataExt Exist(const DataExt& x, unsigned long n) {
  return CountTrueInWindow(x.m_raw_data, n, [n](uint64_t count) { return AnyHeld(count, n); });
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

bool ExistStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                           NodeState& state) const {
  return ResumeCountTrue(args, from, state, AnyHeld);
}

size_t ExistStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
