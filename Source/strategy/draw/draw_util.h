#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "compiler/data_ext.h"
#include "strategy/util/strategy_util.h"

// Rules shared by the drawing functions. A drawing reads its arguments
// through SeriesOf, so only a series has elements; it widens a number only
// where it says so, in its Exec.

// The value an argument gives at bar i: a number is itself at every bar, a
// series its element i, and anything without an element i gives `missing`.
double ValueAt(const DataExt& value, size_t i, double missing);

// One entry per element of the price series: the price where the condition
// holds, the invalid value elsewhere (offset 0). POLYLINE and PARTLINE.
std::vector<DrawPositionEntry> PricesWhere(const DataExt& condition, const DataExt& price);

// One entry per element of the condition series (DRAWTEXT, DRAWICON): where it
// holds, the price and offset at that bar (ValueAt; a missing price is the
// invalid value, a missing offset 0); elsewhere the invalid value and 0.
std::vector<DrawPositionEntry> MarkPositions(const DataExt& condition, const DataExt& price,
                                             const DataExt& offset);

// One candle map (keys c, h, l, o) per bar that all four series share.
std::vector<std::map<std::string, double>> Candles(const DataExt& high, const DataExt& open,
                                                   const DataExt& low, const DataExt& close);

std::map<std::string, double> Candle(double high, double open, double low, double close);
