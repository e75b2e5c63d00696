#include "strategy/draw/draw_kline_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"

DataExt DrawKLine(const DataExt& high, const DataExt& open, const DataExt& low,
                  const DataExt& close) {
  return DataExt(DrawEntry("DRAWKLINE", Candles(high, open, low, close)));
}

DataExt DrawKLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kAny>(DrawKLine);
}
