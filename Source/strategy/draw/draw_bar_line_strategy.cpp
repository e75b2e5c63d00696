#include "strategy/draw/draw_bar_line_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"

DataExt DrawBarLine(const DataExt& high, const DataExt& open, const DataExt& low,
                    const DataExt& close) {
  return DataExt(DrawEntry("DRAWBARLINE", Candles(high, open, low, close)));
}

DataExt DrawBarLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                  std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kAny>(DrawBarLine);
}
