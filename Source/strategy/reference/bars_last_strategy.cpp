#include "strategy/reference/bars_last_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

namespace {

// Bars [begin, end): invalid before the first valid bar f, then the bars since
// X last held (carried in carry.acc, a whole number). Bar 0 starts the count
// whatever it holds; when f comes later and does not hold, it reads 1.
template <typename X, typename Put>
void BarsLastBars(const X& x, size_t f, size_t begin, size_t end, Carry& carry, Put put) {
  for (size_t i = begin; i < end; ++i) {
    if (i < f) {
      put(i, kInvalidValue);
      continue;
    }
    carry.acc = i == 0 || Holds(x[i]) ? 0.0 : carry.acc + 1.0;
    put(i, carry.acc);
  }
}

}  // namespace

DataExt BarsLast(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out(xs.size());
  Carry carry;
  BarsLastBars(xs, FirstValidBar(xs), 0, xs.size(), carry,
               [&out](size_t i, double v) { out[i] = v; });
  return DataExt(std::move(out));
}

DataExt BarsLastStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsLast);
}

bool BarsLastStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                              NodeState& state) const {
  return ResumeOverSeries(args, from, state, 0,
                          [](const auto& x, size_t f, size_t begin, size_t end, Carry& carry,
                             auto put) { BarsLastBars(x, f, begin, end, carry, put); });
}

size_t BarsLastStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
