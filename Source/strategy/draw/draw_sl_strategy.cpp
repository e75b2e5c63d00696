#include "strategy/draw/draw_sl_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"
#include "strategy/util/strategy_util.h"

DataExt DrawSL(const DataExt& condition, const DataExt& price, const DataExt& slope,
               const DataExt& length, const DataExt& direction) {
  const std::vector<double>& holds = SeriesOf(condition);
  const std::vector<double>& prices = SeriesOf(price);
  const std::vector<double>& slopes = SeriesOf(slope);
  const std::vector<double>& lengths = SeriesOf(length);
  const std::vector<double>& directions = SeriesOf(direction);
  size_t bars = MinLength(holds, prices, slopes, lengths, directions);
  std::vector<DrawSLEntry> segments;
  segments.reserve(bars);
  for (size_t i = 0; i < bars; ++i) {
    if (Holds(holds[i])) {
      segments.emplace_back(prices[i], slopes[i], TruncToInt32(lengths[i]),
                            TruncToInt32(directions[i]));
    } else {
      segments.emplace_back(kInvalidValue, kInvalidValue, 0, 0);
    }
  }
  return DataExt(DrawEntry("DRAWSL", std::move(segments)));
}

// Length and direction widen to the bars; condition, price and slope do not.
DataExt DrawSLStrategy::Exec(std::vector<DataExt> args, Environment& env,
                             std::shared_ptr<AstNode>) {
  return Args(args, env)
      .Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kWidenedToBars, Arg::kWidenedToBars>(DrawSL);
}
