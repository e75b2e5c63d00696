#include "strategy/util/strategy_factory.h"

#include <unordered_map>

#include "strategy/market/close_strategy.h"
#include "strategy/market/high_strategy.h"
#include "strategy/market/low_strategy.h"
#include "strategy/market/open_strategy.h"
#include "strategy/market/volumn_strategy.h"
// @family-includes (one include per strategy header, kept sorted)

namespace {

using Creator = std::unique_ptr<Strategy> (*)();

template <typename T>
std::unique_ptr<Strategy> Make() {
  return std::make_unique<T>();
}

struct Entry {
  std::vector<std::string> names;  // aliases of one function
  Creator create;                  // null while the class is not written
};

// Every function name the formula language accepts, in lookup order.
const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {{"C", "CLOSE"}, &Make<CloseStrategy>},
      {{"O", "OPEN"}, &Make<OpenStrategy>},
      {{"L", "LOW"}, &Make<LowStrategy>},
      {{"H", "HIGH"}, &Make<HighStrategy>},
      {{"VOL", "V"}, &Make<VolumnStrategy>},
      {{"ALIGNRIGHT"}, nullptr},  // AlignRightStrategy
      {{"ALTFILTER"}, nullptr},  // AltFilterStrategy
      {{"BACKSET"}, nullptr},  // BackSetStrategy
      {{"BARSCOUNT"}, nullptr},  // BarsCountStrategy
      {{"BARSLAST"}, nullptr},  // BarsLastStrategy
      {{"BARSNEXT"}, nullptr},  // BarsNextStrategy
      {{"BARSSINCE"}, nullptr},  // BarsSinceStrategy
      {{"BARSSINCEN"}, nullptr},  // BarsSinceNStrategy
      {{"BARSTATUS"}, nullptr},  // BarStatusStrategy
      {{"CONST"}, nullptr},  // ConstStrategy
      {{"COUNT2", "COUNT"}, nullptr},  // CountStrategy
      {{"CURRBARSCOUNT"}, nullptr},  // CurrBarsCountStrategy
      {{"DMA"}, nullptr},  // DmaStrategy
      {{"DTPRICE"}, nullptr},  // DtPriceStrategy
      {{"EMA"}, nullptr},  // EmaStrategy
      {{"EMA2"}, nullptr},  // Ema2Strategy
      {{"FILTER"}, nullptr},  // FilterStrategy
      {{"FINDHIGH"}, nullptr},  // FindHighStrategy
      {{"FINDHIGHBARS"}, nullptr},  // FindHighBarsStrategy
      {{"FINDLOW"}, nullptr},  // FindLowStrategy
      {{"FINDLOWBARS"}, nullptr},  // FindLowBarsStrategy
      {{"HHV"}, nullptr},  // HhvStrategy
      {{"HHVBARS"}, nullptr},  // HhvBarsStrategy
      {{"HOD"}, nullptr},  // HodStrategy
      {{"ISLASTBAR"}, nullptr},  // IsLastBarStrategy
      {{"LLV"}, nullptr},  // LlvStrategy
      {{"LLVBARS"}, nullptr},  // LlvBarsStrategy
      {{"LOD"}, nullptr},  // LodStrategy
      {{"LOWRANGE"}, nullptr},  // LowRangeStrategy
      {{"MA"}, nullptr},  // MaStrategy
      {{"MEMA"}, nullptr},  // MemaStrategy
      {{"MULAR"}, nullptr},  // MularStrategy
      {{"REF"}, nullptr},  // RefStrategy
      {{"REFX"}, nullptr},  // RefxStrategy
      {{"SMA"}, nullptr},  // SmaStrategy
      {{"SUM"}, nullptr},  // SumStrategy
      {{"SUMBARS"}, nullptr},  // SumBarsStrategy
      {{"TOPRANGE"}, nullptr},  // TopRangeStrategy
      {{"TOTALBARSCOUNT"}, nullptr},  // TotalBarsCountStrategy
      {{"WMA"}, nullptr},  // WmaStrategy
      {{"ZTPRICE"}, nullptr},  // ZtPriceStrategy
      {{"SIN"}, nullptr},  // SinStrategy
      {{"COS"}, nullptr},  // CosStrategy
      {{"TAN"}, nullptr},  // TanStrategy
      {{"ASIN"}, nullptr},  // ASinStrategy
      {{"ACOS"}, nullptr},  // ACosStrategy
      {{"ATAN"}, nullptr},  // ATanStrategy
      {{"EXP"}, nullptr},  // ExpStrategy
      {{"LN"}, nullptr},  // LnStrategy
      {{"LOG"}, nullptr},  // LogStrategy
      {{"SQRT"}, nullptr},  // SqrtStrategy
      {{"POW"}, nullptr},  // PowStrategy
      {{"CEILING"}, nullptr},  // CeilingStrategy
      {{"FLOOR"}, nullptr},  // FloorStrategy
      {{"INTPART"}, nullptr},  // IntPartStrategy
      {{"FRACPART"}, nullptr},  // FracPartStrategy
      {{"ROUND"}, nullptr},  // RoundStrategy
      {{"ROUND2"}, nullptr},  // Round2Strategy
      {{"SIGN", "SGN"}, nullptr},  // SignStrategy
      {{"MOD"}, nullptr},  // ModStrategy
      {{"RAND"}, nullptr},  // RandStrategy
      {{"MAX"}, nullptr},  // MaxStrategy
      {{"MIN"}, nullptr},  // MinStrategy
      {{"ABS"}, nullptr},  // AbsStrategy
      {{"REVERSE"}, nullptr},  // ReverseStrategy
      {{"BARPOS"}, nullptr},  // BarPosStrategy
      {{"PERIOD"}, nullptr},  // PeriodStrategy
      {{"DATE"}, nullptr},  // DateStrategy
      {{"TIME"}, nullptr},  // TimeStrategy
      {{"YEAR"}, nullptr},  // YearStrategy
      {{"MONTH"}, nullptr},  // MonthStrategy
      {{"WEEKDAY"}, nullptr},  // WeekdayStrategy
      {{"DAY"}, nullptr},  // DayStrategy
      {{"HOUR"}, nullptr},  // HourStrategy
      {{"MINUTE"}, nullptr},  // MinuteStrategy
      {{"AVEDEV"}, nullptr},  // AveDevStrategy
      {{"DEVSQ"}, nullptr},  // DevSqStrategy
      {{"FORCAST"}, nullptr},  // ForcastStrategy
      {{"VAR"}, nullptr},  // VarStrategy
      {{"VARP"}, nullptr},  // VarpStrategy
      {{"COVAR"}, nullptr},  // CovarStrategy
      {{"RELATE"}, nullptr},  // RelateStrategy
      {{"SLOPE"}, nullptr},  // SlopeStrategy
      {{"STD"}, nullptr},  // StdStrategy
      {{"STDP"}, nullptr},  // StdpStrategy
      {{"BETWEEN"}, nullptr},  // BetweenStrategy
      {{"CROSS"}, nullptr},  // CrossStrategy
      {{"VALUEWHEN"}, nullptr},  // ValueWhenStrategy
      {{"RANGE"}, nullptr},  // RangeStrategy
      {{"LONGCROSS"}, nullptr},  // LongCrossStrategy
      {{"UPNDAY"}, nullptr},  // UpNDayStrategy
      {{"DOWNNDAY"}, nullptr},  // DownNDayStrategy
      {{"NDAY"}, nullptr},  // NDayStrategy
      {{"EXIST", "ANY"}, nullptr},  // ExistStrategy
      {{"EVERY", "ALL"}, nullptr},  // EveryStrategy
      {{"LAST"}, nullptr},  // LastStrategy
      {{"NOT"}, nullptr},  // NotStrategy
      {{"IF", "IFF"}, nullptr},  // IfStrategy
      {{"IFN"}, nullptr},  // IfnStrategy
      {{"SAR"}, nullptr},  // SarStrategy
      {{"SARTURN"}, nullptr},  // SarTurnStrategy
      {{"COLORRGB"}, nullptr},  // ColorrgbStrategy
      {{"DRAWBARLINE"}, nullptr},  // DrawBarLineStrategy
      {{"DRAWICON"}, nullptr},  // DrawIconStrategy
      {{"DRAWKLINE"}, nullptr},  // DrawKLineStrategy
      {{"DRAWKLINEEX"}, nullptr},  // DrawKLineExStrategy
      {{"DRAWLINE"}, nullptr},  // DrawLineStrategy
      {{"DRAWNUMBER"}, nullptr},  // DrawNumberStrategy
      {{"DRAWSL"}, nullptr},  // DrawSLStrategy
      {{"DRAWTEXT"}, nullptr},  // DrawTextStrategy
      {{"PARTLINE"}, nullptr},  // PartLineStrategy
      {{"PARTLINE2"}, nullptr},  // PartLine2Strategy
      {{"POLYLINE"}, nullptr},  // PolyLineStrategy
      {{"STICKLINE"}, nullptr},  // StickLineStrategy
      {{"VERTLINE"}, nullptr},  // VertLineStrategy
  };
  return entries;
}

// Name to creator, built once from the entries: one hash lookup per call.
const std::unordered_map<std::string, Creator>& Index() {
  static const std::unordered_map<std::string, Creator> index = [] {
    std::unordered_map<std::string, Creator> map;
    for (const Entry& entry : Entries()) {
      for (const std::string& name : entry.names) map.emplace(name, entry.create);
    }
    return map;
  }();
  return index;
}

}  // namespace

std::unique_ptr<Strategy> StrategyFactory::StrategyByName(const std::string& name) {
  auto it = Index().find(name);
  if (it == Index().end() || it->second == nullptr) return nullptr;
  return it->second();
}

bool StrategyFactory::match(const std::string& name, std::vector<std::string> names) {
  for (const std::string& candidate : names) {
    if (candidate == name) return true;
  }
  return false;
}
