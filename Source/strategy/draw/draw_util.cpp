#include "strategy/draw/draw_util.h"

double ValueAt(const DataExt& value, size_t i, double missing) {
  if (value.isSingleNumberType()) return value.getSingleNumber();
  const std::vector<double>& series = SeriesOf(value);
  return i < series.size() ? series[i] : missing;
}

std::vector<DrawPositionEntry> PricesWhere(const DataExt& condition, const DataExt& price) {
  const std::vector<double>& holds = SeriesOf(condition);
  const std::vector<double>& prices = SeriesOf(price);
  size_t bars = MinLength(holds, prices);
  std::vector<DrawPositionEntry> positions;
  positions.reserve(bars);
  for (size_t i = 0; i < bars; ++i) {
    positions.emplace_back(Holds(holds[i]) ? prices[i] : kInvalidValue, 0.0);
  }
  return positions;
}

std::vector<DrawPositionEntry> MarkPositions(const DataExt& condition, const DataExt& price,
                                             const DataExt& offset) {
  const std::vector<double>& holds = SeriesOf(condition);
  std::vector<DrawPositionEntry> positions;
  positions.reserve(holds.size());
  for (size_t i = 0; i < holds.size(); ++i) {
    if (Holds(holds[i])) {
      positions.emplace_back(ValueAt(price, i, kInvalidValue), ValueAt(offset, i, 0.0));
    } else {
      positions.emplace_back(kInvalidValue, 0.0);
    }
  }
  return positions;
}

std::map<std::string, double> Candle(double high, double open, double low, double close) {
  // Keys inserted in their sorted order, each at the end: no searching.
  std::map<std::string, double> candle;
  candle.emplace_hint(candle.end(), "c", close);
  candle.emplace_hint(candle.end(), "h", high);
  candle.emplace_hint(candle.end(), "l", low);
  candle.emplace_hint(candle.end(), "o", open);
  return candle;
}

std::vector<std::map<std::string, double>> Candles(const DataExt& high, const DataExt& open,
                                                   const DataExt& low, const DataExt& close) {
  const std::vector<double>& h = SeriesOf(high);
  const std::vector<double>& o = SeriesOf(open);
  const std::vector<double>& l = SeriesOf(low);
  const std::vector<double>& c = SeriesOf(close);
  size_t bars = MinLength(h, o, l, c);
  std::vector<std::map<std::string, double>> candles;
  candles.reserve(bars);
  for (size_t i = 0; i < bars; ++i) candles.push_back(Candle(h[i], o[i], l[i], c[i]));
  return candles;
}
