#include "strategy/logic/every_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

namespace {

bool AllHeld(uint64_t count, uint64_t n) { return count == n; }

}  // namespace

DataExt Every(const DataExt& x, unsigned long n) {
  return CountTrueInWindow(x.m_raw_data, n, [n](uint64_t count) { return AllHeld(count, n); });
}

DataExt Every(const DataExt& x_value, const DataExt& n_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  const std::vector<double>& n = n_value.m_raw_data;
  const size_t first = FirstValidBar(x);
  // Run of true values ending at i, counted from the first valid bar; inside
  // the window it is cut to the window's size.
  uint64_t run = 0;
  return DataExt(FromFirstValid(MinLength(x, n), first, [&](size_t i) {
    run = Holds(x[i]) ? run + 1 : 0;
    const int64_t start = WindowStartFrom(first, i, n[i]);
    const int64_t position = static_cast<int64_t>(i);
    uint64_t inside = 0;
    if (start <= position) {
      const uint64_t span = static_cast<uint64_t>(position - start) + 1;
      inside = run < span ? run : span;
    }
    return static_cast<double>(inside) == n[i] ? 1.0 : 0.0;
  }));
}

DataExt EveryStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Every));
}

bool EveryStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                           NodeState& state) const {
  return ResumeCountTrue(args, from, state, AllHeld);
}

size_t EveryStrategy::Lookback(const std::vector<const NodeState*>& args) const {
  return WindowNeedOf(args, 1);
}
