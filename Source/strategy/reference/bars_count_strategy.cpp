#include "strategy/reference/bars_count_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

DataExt BarsCount(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  const size_t f = FirstValidBar(xs);
  return DataExt(
      FromFirstValid(xs.size(), f, [f](size_t i) { return static_cast<double>(i - f); }));
}

DataExt BarsCountStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(BarsCount);
}

bool BarsCountStrategy::Resume(const std::vector<const NodeState*>& args, size_t, size_t from,
                               NodeState& state) const {
  return ResumeOverSeries(
      args, from, state, 0, [](const auto&, size_t f, size_t begin, size_t end, Carry&, auto put) {
        for (size_t i = begin; i < end; ++i) {
          put(i, i < f ? kInvalidValue : static_cast<double>(i - f));
        }
      });
}

size_t BarsCountStrategy::Lookback(const std::vector<const NodeState*>&) const { return 2; }
