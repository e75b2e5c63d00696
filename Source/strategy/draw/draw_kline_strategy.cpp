#include "strategy/draw/draw_kline_strategy.h"

#include "strategy/draw/draw_util.h"

DataExt DrawKLine(const DataExt& high, const DataExt& open, const DataExt& low,
                  const DataExt& close) {
  return DataExt(DrawEntry("DRAWKLINE", Candles(high, open, low, close)));
}

DataExt DrawKLineStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 4) return DataExt();
  return DrawKLine(args[0], args[1], args[2], args[3]);
}
