#include "strategy/draw/draw_bar_line_strategy.h"

#include "strategy/draw/draw_util.h"

DataExt DrawBarLine(const DataExt& high, const DataExt& open, const DataExt& low,
                    const DataExt& close) {
  return DataExt(DrawEntry("DRAWBARLINE", Candles(high, open, low, close)));
}

DataExt DrawBarLineStrategy::Exec(std::vector<DataExt> args, Environment&,
                                  std::shared_ptr<AstNode>) {
  if (args.size() < 4) return DataExt();
  return DrawBarLine(args[0], args[1], args[2], args[3]);
}
