#include "strategy/draw/draw_kline_ex_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

DataExt DrawKLineEx(const DataExt& condition, const DataExt& high, const DataExt& open,
                    const DataExt& low, const DataExt& close) {
  const std::vector<double>& holds = SeriesOf(condition);
  const std::vector<double>& h = SeriesOf(high);
  const std::vector<double>& o = SeriesOf(open);
  const std::vector<double>& l = SeriesOf(low);
  const std::vector<double>& c = SeriesOf(close);
  size_t bars = MinLength(holds, h, o, l, c);
  std::vector<std::map<std::string, double>> candles;
  candles.reserve(bars);
  for (size_t i = 0; i < bars; ++i) {
    candles.push_back(Holds(holds[i]) ? Candle(h[i], o[i], l[i], c[i])
                                      : Candle(kInvalidValue, kInvalidValue, kInvalidValue,
                                               kInvalidValue));
  }
  return DataExt(DrawEntry("DRAWKLINEEX", std::move(candles)));
}

DataExt DrawKLineExStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                  std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kAny, Arg::kAny, Arg::kAny>(DrawKLineEx);
}
