#include "strategy/draw/stick_line_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt StickLine(const DataExt& condition, const DataExt& price1, const DataExt& price2,
                  const DataExt& width, const DataExt& attribute) {
  const std::vector<double>& holds = SeriesOf(condition);
  const std::vector<double>& from = SeriesOf(price1);
  const std::vector<double>& to = SeriesOf(price2);
  const std::vector<double>& widths = SeriesOf(width);
  const std::vector<double>& attributes = SeriesOf(attribute);
  size_t bars = MinLength(holds, from, to, widths, attributes);
  std::vector<StickLineEntry> sticks;
  sticks.reserve(bars);
  for (size_t i = 0; i < bars; ++i) {
    if (Holds(holds[i])) {
      sticks.emplace_back(from[i], to[i], widths[i], attributes[i]);
    } else {
      sticks.emplace_back(kInvalidValue, kInvalidValue, 0.0, 0.0);
    }
  }
  return DataExt(DrawEntry("STICKLINE", std::move(sticks)));
}

// Width and attribute widen to the bars; condition and prices do not.
DataExt StickLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env)
      .Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kWidenedToBars, Arg::kWidenedToBars>(StickLine);
}
