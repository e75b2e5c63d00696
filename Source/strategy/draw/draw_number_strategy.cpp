#include "strategy/draw/draw_number_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"
#include "util/output_limit.h"
#include "util/util.h"

namespace {

// Refuses, before any text is written, drawn numbers whose texts alone
// would not fit in a result: each text takes about `decimals` bytes, so a
// huge count of decimals on many bars would otherwise take gigabytes.
void CheckTextSize(const std::vector<double>& holds, const std::vector<double>& numbers,
                   size_t bars, int decimals) {
  size_t holding = 0;
  for (size_t i = 0; i < bars; ++i) holding += Holds(holds[i]) ? 1 : 0;
  // A text never exceeds the decimals plus 320 bytes (309 integer digits,
  // sign and point): most calls stop at this bound.
  const size_t longest = static_cast<size_t>(decimals > 0 ? decimals : 0) + 320;
  if (holding == 0 || holding <= kMaxOutputBytes / longest) return;
  size_t total = 0;
  for (size_t i = 0; i < bars; ++i) {
    if (!Holds(holds[i])) continue;
    total += Util::DoubleToStringLength(numbers[i], decimals);
    if (total > kMaxOutputBytes) {
      throw OutputTooLong("DRAWNUMBER: numbers with " + std::to_string(decimals) +
                          " decimals would take more than " + std::to_string(kMaxOutputBytes) +
                          " bytes, the longest result a run may return");
    }
  }
}

}  // namespace

DataExt DrawNumber(const DataExt& condition, const DataExt& price, const DataExt& number,
                   int decimals) {
  const std::vector<double>& holds = SeriesOf(condition);
  const std::vector<double>& prices = SeriesOf(price);
  const std::vector<double>& numbers = SeriesOf(number);
  size_t bars = MinLength(holds, prices, numbers);
  CheckTextSize(holds, numbers, bars, decimals);
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

DataExt DrawNumberStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                 std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kNumber>(
      [](const DataExt& condition, const DataExt& price, const DataExt& number, double decimals) {
        return DrawNumber(condition, price, number, TruncToInt32(decimals));
      });
}
