#include "strategy/draw/draw_number_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/int_conversion.h"
#include "util/util.h"

DataExt DrawNumber(const DataExt& condition, const DataExt& price, const DataExt& number,
                   int decimals) {
  const std::vector<double>& holds = SeriesOf(condition);
  const std::vector<double>& prices = SeriesOf(price);
  const std::vector<double>& numbers = SeriesOf(number);
  size_t bars = MinLength(holds, prices, numbers);
  std::vector<DrawNumberEntry> entries;
  entries.reserve(bars);
  for (size_t i = 0; i < bars; ++i) {
    // The price stays on every bar; only the text marks where to draw.
    entries.emplace_back(prices[i],
                         Holds(holds[i]) ? Util::DoubleToString(numbers[i], decimals)
                                         : std::string());
  }
  return DataExt(DrawEntry("DRAWNUMBER", std::move(entries)));
}

DataExt DrawNumberStrategy::Exec(std::vector<DataExt> args, Environment&,
                                 std::shared_ptr<AstNode>) {
  if (args.size() < 4 || !args[3].isSingleNumberType()) return DataExt();
  return DrawNumber(args[0], args[1], args[2], TruncToInt32(args[3].getSingleNumber()));
}
