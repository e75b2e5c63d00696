#include "strategy/draw/draw_line_strategy.h"

#include "strategy/draw/draw_util.h"
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

DataExt DrawLineStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 4) return DataExt();
  int type = 0;
  if (args.size() > 4) {
    if (!args[4].isSingleNumberType()) return DataExt();
    type = TruncToInt32(args[4].getSingleNumber());
  }
  return DrawLine(args[0], args[1], args[2], args[3], type);
}
