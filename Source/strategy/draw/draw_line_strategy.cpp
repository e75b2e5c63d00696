#include "strategy/draw/draw_line_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"
#include "strategy/util/strategy_util.h"

DataExt DrawLine(const DataExt& start, const DataExt& start_price, const DataExt& end,
                 const DataExt& end_price, int type) {
  const std::vector<double>& starts = SeriesOf(start);
  const std::vector<double>& start_prices = SeriesOf(start_price);
  const std::vector<double>& ends = SeriesOf(end);
  const std::vector<double>& end_prices = SeriesOf(end_price);
  size_t bars = MinLength(starts, start_prices, ends, end_prices);
  std::vector<DrawPositionEntry> positions;
  positions.reserve(bars);
  // The end condition is not looked at on a start bar, nor the start
  // condition between a start and its end.
  bool waiting = true;
  for (size_t i = 0; i < bars; ++i) {
    double price = kInvalidValue;
    if (waiting) {
      if (Holds(starts[i])) {
        price = start_prices[i];
        waiting = false;
      }
    } else if (Holds(ends[i])) {
      price = end_prices[i];
      waiting = true;
    }
    positions.emplace_back(price, 0.0);
  }
  return DataExt(DrawEntry("DRAWLINE", std::move(positions), type));
}

// The fifth argument, the line type, is optional: 0 when absent.
DataExt DrawLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  Args view(args, env);
  const std::optional<double> type = view.Number(4);
  if (view.Size() > 4 && !type) return DataExt();
  return view.Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kAny>(
      [&type](const DataExt& start, const DataExt& start_price, const DataExt& end,
              const DataExt& end_price) {
        return DrawLine(start, start_price, end, end_price, TruncToInt32(type.value_or(0.0)));
      });
}
