#include "strategy/logic/cross_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

namespace {

// Bars [begin, end) of CROSS. carry.seeded says whether the first bar where
// both inputs are valid has been passed: bars before it are invalid; that
// bar has no previous bar to cross from and reads 0, except bar 0, which
// stays invalid. From there on, gaps are compared as plain numbers.
template <typename A, typename B, typename Put>
void CrossBars(const A& a, const B& b, size_t begin, size_t end, Carry& carry, Put put) {
  for (size_t i = begin; i < end; ++i) {
    if (carry.seeded) {
      put(i, b[i - 1] > a[i - 1] && a[i] > b[i] ? 1.0 : 0.0);
    } else {
      carry.seeded = IsValid(a[i]) && IsValid(b[i]);
      put(i, carry.seeded && i > 0 ? 0.0 : kInvalidValue);
    }
  }
}

}  // namespace

DataExt Cross(const DataExt& a_value, const DataExt& b_value) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  std::vector<double> out(MinLength(a, b));
  Carry carry;
  CrossBars(a, b, 0, out.size(), carry, [&out](size_t i, double v) { out[i] = v; });
  return DataExt(std::move(out));
}

DataExt CrossStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(Cross);
}

// Both inputs series: the loop continues from its checkpoint, reading the
// bar before it; the input that let go of more early bars decides whether
// that bar is still held.
bool CrossStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                           NodeState& state) const {
  const NodeState* a_arg = SeriesArg(args, 0);
  const NodeState* b_arg = SeriesArg(args, 1);
  if (!a_arg || !b_arg) return false;
  const SeriesView a = a_arg->Series();
  const SeriesView b = b_arg->Series();
  const SeriesView& held = a.base() > b.base() ? a : b;
  const size_t length = a.size() < b.size() ? a.size() : b.size();
  return ResumeLoop(state, held, length, from, 0, 1,
                    [&](size_t begin, size_t end, Carry& carry, auto put) {
                      CrossBars(a, b, begin, end, carry, put);
                    });
}

size_t CrossStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
