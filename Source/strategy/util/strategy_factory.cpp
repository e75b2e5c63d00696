#include "strategy/util/strategy_factory.h"

#include <unordered_map>

#include "strategy/market/close_strategy.h"
#include "strategy/market/high_strategy.h"
#include "strategy/market/low_strategy.h"
#include "strategy/market/open_strategy.h"
#include "strategy/market/volumn_strategy.h"
// @family-includes (one include per strategy header, kept sorted)
#include "strategy/draw/colorrgb_strategy.h"
#include "strategy/draw/draw_bar_line_strategy.h"
#include "strategy/draw/draw_icon_strategy.h"
#include "strategy/draw/draw_kline_ex_strategy.h"
#include "strategy/draw/draw_kline_strategy.h"
#include "strategy/draw/draw_line_strategy.h"
#include "strategy/draw/draw_number_strategy.h"
#include "strategy/draw/draw_sl_strategy.h"
#include "strategy/draw/draw_text_strategy.h"
#include "strategy/draw/part_line2_strategy.h"
#include "strategy/draw/part_line_strategy.h"
#include "strategy/draw/poly_line_strategy.h"
#include "strategy/draw/stick_line_strategy.h"
#include "strategy/draw/vert_line_strategy.h"
#include "strategy/index/sar_strategy.h"
#include "strategy/index/sar_turn_strategy.h"
#include "strategy/logic/between_strategy.h"
#include "strategy/logic/cross_strategy.h"
#include "strategy/logic/down_nday_strategy.h"
#include "strategy/logic/every_strategy.h"
#include "strategy/logic/exist_strategy.h"
#include "strategy/logic/if_strategy.h"
#include "strategy/logic/ifn_strategy.h"
#include "strategy/logic/last_strategy.h"
#include "strategy/logic/long_cross_strategy.h"
#include "strategy/logic/nday_strategy.h"
#include "strategy/logic/not_strategy.h"
#include "strategy/logic/range_strategy.h"
#include "strategy/logic/up_nday_strategy.h"
#include "strategy/logic/value_when_strategy.h"
#include "strategy/math/abs_strategy.h"
#include "strategy/math/acos_strategy.h"
#include "strategy/math/asin_strategy.h"
#include "strategy/math/atan_strategy.h"
#include "strategy/math/ceiling_strategy.h"
#include "strategy/math/cos_strategy.h"
#include "strategy/math/exp_strategy.h"
#include "strategy/math/floor_strategy.h"
#include "strategy/math/frac_part_strategy.h"
#include "strategy/math/int_part_strategy.h"
#include "strategy/math/ln_strategy.h"
#include "strategy/math/log_strategy.h"
#include "strategy/math/max_strategy.h"
#include "strategy/math/min_strategy.h"
#include "strategy/math/mod_strategy.h"
#include "strategy/math/pow_strategy.h"
#include "strategy/math/rand_strategy.h"
#include "strategy/math/reverse_strategy.h"
#include "strategy/math/round2_strategy.h"
#include "strategy/math/round_strategy.h"
#include "strategy/math/sign_strategy.h"
#include "strategy/math/sin_strategy.h"
#include "strategy/math/sqrt_strategy.h"
#include "strategy/math/tan_strategy.h"
#include "strategy/reference/align_right_strategy.h"
#include "strategy/reference/alt_filter_strategy.h"
#include "strategy/reference/back_set_strategy.h"
#include "strategy/reference/bar_status_strategy.h"
#include "strategy/reference/bars_count_strategy.h"
#include "strategy/reference/bars_last_strategy.h"
#include "strategy/reference/bars_next_strategy.h"
#include "strategy/reference/bars_since_n_strategy.h"
#include "strategy/reference/bars_since_strategy.h"
#include "strategy/reference/const_strategy.h"
#include "strategy/reference/count_strategy.h"
#include "strategy/reference/curr_bars_count_strategy.h"
#include "strategy/reference/dma_strategy.h"
#include "strategy/reference/dt_price_strategy.h"
#include "strategy/reference/ema2_strategy.h"
#include "strategy/reference/ema_strategy.h"
#include "strategy/reference/filter_strategy.h"
#include "strategy/reference/find_high_bars_strategy.h"
#include "strategy/reference/find_high_strategy.h"
#include "strategy/reference/find_low_bars_strategy.h"
#include "strategy/reference/find_low_strategy.h"
#include "strategy/reference/hhv_bars_strategy.h"
#include "strategy/reference/hhv_strategy.h"
#include "strategy/reference/hod_strategy.h"
#include "strategy/reference/is_last_bar_strategy.h"
#include "strategy/reference/llv_bars_strategy.h"
#include "strategy/reference/llv_strategy.h"
#include "strategy/reference/lod_strategy.h"
#include "strategy/reference/low_range_strategy.h"
#include "strategy/reference/ma_strategy.h"
#include "strategy/reference/mema_strategy.h"
#include "strategy/reference/mular_strategy.h"
#include "strategy/reference/ref_strategy.h"
#include "strategy/reference/refx_strategy.h"
#include "strategy/reference/sma_strategy.h"
#include "strategy/reference/sum_bars_strategy.h"
#include "strategy/reference/sum_strategy.h"
#include "strategy/reference/top_range_strategy.h"
#include "strategy/reference/total_bars_count_strategy.h"
#include "strategy/reference/wma_strategy.h"
#include "strategy/reference/zt_price_strategy.h"
#include "strategy/statistics/ave_dev_strategy.h"
#include "strategy/statistics/covar_strategy.h"
#include "strategy/statistics/dev_sq_strategy.h"
#include "strategy/statistics/forcast_strategy.h"
#include "strategy/statistics/relate_strategy.h"
#include "strategy/statistics/slope_strategy.h"
#include "strategy/statistics/std_strategy.h"
#include "strategy/statistics/stdp_strategy.h"
#include "strategy/statistics/var_strategy.h"
#include "strategy/statistics/varp_strategy.h"
#include "strategy/time/bar_pos_strategy.h"
#include "strategy/time/date_strategy.h"
#include "strategy/time/day_strategy.h"
#include "strategy/time/hour_strategy.h"
#include "strategy/time/minute_strategy.h"
#include "strategy/time/month_strategy.h"
#include "strategy/time/period_strategy.h"
#include "strategy/time/time_strategy.h"
#include "strategy/time/weekday_strategy.h"
#include "strategy/time/year_strategy.h"

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
      {{"ALIGNRIGHT"}, &Make<AlignRightStrategy>},
      {{"ALTFILTER"}, &Make<AltFilterStrategy>},
      {{"BACKSET"}, &Make<BackSetStrategy>},
      {{"BARSCOUNT"}, &Make<BarsCountStrategy>},
      {{"BARSLAST"}, &Make<BarsLastStrategy>},
      {{"BARSNEXT"}, &Make<BarsNextStrategy>},
      {{"BARSSINCE"}, &Make<BarsSinceStrategy>},
      {{"BARSSINCEN"}, &Make<BarsSinceNStrategy>},
      {{"BARSTATUS"}, &Make<BarStatusStrategy>},
      {{"CONST"}, &Make<ConstStrategy>},
      {{"COUNT2", "COUNT"}, &Make<CountStrategy>},
      {{"CURRBARSCOUNT"}, &Make<CurrBarsCountStrategy>},
      {{"DMA"}, &Make<DmaStrategy>},
      {{"DTPRICE"}, &Make<DtPriceStrategy>},
      {{"EMA"}, &Make<EmaStrategy>},
      {{"EMA2"}, &Make<Ema2Strategy>},
      {{"FILTER"}, &Make<FilterStrategy>},
      {{"FINDHIGH"}, &Make<FindHighStrategy>},
      {{"FINDHIGHBARS"}, &Make<FindHighBarsStrategy>},
      {{"FINDLOW"}, &Make<FindLowStrategy>},
      {{"FINDLOWBARS"}, &Make<FindLowBarsStrategy>},
      {{"HHV"}, &Make<HhvStrategy>},
      {{"HHVBARS"}, &Make<HhvBarsStrategy>},
      {{"HOD"}, &Make<HodStrategy>},
      {{"ISLASTBAR"}, &Make<IsLastBarStrategy>},
      {{"LLV"}, &Make<LlvStrategy>},
      {{"LLVBARS"}, &Make<LlvBarsStrategy>},
      {{"LOD"}, &Make<LodStrategy>},
      {{"LOWRANGE"}, &Make<LowRangeStrategy>},
      {{"MA"}, &Make<MaStrategy>},
      {{"MEMA"}, &Make<MemaStrategy>},
      {{"MULAR"}, &Make<MularStrategy>},
      {{"REF"}, &Make<RefStrategy>},
      {{"REFX"}, &Make<RefxStrategy>},
      {{"SMA"}, &Make<SmaStrategy>},
      {{"SUM"}, &Make<SumStrategy>},
      {{"SUMBARS"}, &Make<SumBarsStrategy>},
      {{"TOPRANGE"}, &Make<TopRangeStrategy>},
      {{"TOTALBARSCOUNT"}, &Make<TotalBarsCountStrategy>},
      {{"WMA"}, &Make<WmaStrategy>},
      {{"ZTPRICE"}, &Make<ZtPriceStrategy>},
      {{"SIN"}, &Make<SinStrategy>},
      {{"COS"}, &Make<CosStrategy>},
      {{"TAN"}, &Make<TanStrategy>},
      {{"ASIN"}, &Make<ASinStrategy>},
      {{"ACOS"}, &Make<ACosStrategy>},
      {{"ATAN"}, &Make<ATanStrategy>},
      {{"EXP"}, &Make<ExpStrategy>},
      {{"LN"}, &Make<LnStrategy>},
      {{"LOG"}, &Make<LogStrategy>},
      {{"SQRT"}, &Make<SqrtStrategy>},
      {{"POW"}, &Make<PowStrategy>},
      {{"CEILING"}, &Make<CeilingStrategy>},
      {{"FLOOR"}, &Make<FloorStrategy>},
      {{"INTPART"}, &Make<IntPartStrategy>},
      {{"FRACPART"}, &Make<FracPartStrategy>},
      {{"ROUND"}, &Make<RoundStrategy>},
      {{"ROUND2"}, &Make<Round2Strategy>},
      {{"SIGN", "SGN"}, &Make<SignStrategy>},
      {{"MOD"}, &Make<ModStrategy>},
      {{"RAND"}, &Make<RandStrategy>},
      {{"MAX"}, &Make<MaxStrategy>},
      {{"MIN"}, &Make<MinStrategy>},
      {{"ABS"}, &Make<AbsStrategy>},
      {{"REVERSE"}, &Make<ReverseStrategy>},
      {{"BARPOS"}, &Make<BarPosStrategy>},
      {{"PERIOD"}, &Make<PeriodStrategy>},
      {{"DATE"}, &Make<DateStrategy>},
      {{"TIME"}, &Make<TimeStrategy>},
      {{"YEAR"}, &Make<YearStrategy>},
      {{"MONTH"}, &Make<MonthStrategy>},
      {{"WEEKDAY"}, &Make<WeekdayStrategy>},
      {{"DAY"}, &Make<DayStrategy>},
      {{"HOUR"}, &Make<HourStrategy>},
      {{"MINUTE"}, &Make<MinuteStrategy>},
      {{"AVEDEV"}, &Make<AveDevStrategy>},
      {{"DEVSQ"}, &Make<DevSqStrategy>},
      {{"FORCAST"}, &Make<ForcastStrategy>},
      {{"VAR"}, &Make<VarStrategy>},
      {{"VARP"}, &Make<VarpStrategy>},
      {{"COVAR"}, &Make<CovarStrategy>},
      {{"RELATE"}, &Make<RelateStrategy>},
      {{"SLOPE"}, &Make<SlopeStrategy>},
      {{"STD"}, &Make<StdStrategy>},
      {{"STDP"}, &Make<StdpStrategy>},
      {{"BETWEEN"}, &Make<BetweenStrategy>},
      {{"CROSS"}, &Make<CrossStrategy>},
      {{"VALUEWHEN"}, &Make<ValueWhenStrategy>},
      {{"RANGE"}, &Make<RangeStrategy>},
      {{"LONGCROSS"}, &Make<LongCrossStrategy>},
      {{"UPNDAY"}, &Make<UpNDayStrategy>},
      {{"DOWNNDAY"}, &Make<DownNDayStrategy>},
      {{"NDAY"}, &Make<NDayStrategy>},
      {{"EXIST", "ANY"}, &Make<ExistStrategy>},
      {{"EVERY", "ALL"}, &Make<EveryStrategy>},
      {{"LAST"}, &Make<LastStrategy>},
      {{"NOT"}, &Make<NotStrategy>},
      {{"IF", "IFF"}, &Make<IfStrategy>},
      {{"IFN"}, &Make<IfnStrategy>},
      {{"SAR"}, &Make<SarStrategy>},
      {{"SARTURN"}, &Make<SarTurnStrategy>},
      {{"COLORRGB"}, &Make<ColorrgbStrategy>},
      {{"DRAWBARLINE"}, &Make<DrawBarLineStrategy>},
      {{"DRAWICON"}, &Make<DrawIconStrategy>},
      {{"DRAWKLINE"}, &Make<DrawKLineStrategy>},
      {{"DRAWKLINEEX"}, &Make<DrawKLineExStrategy>},
      {{"DRAWLINE"}, &Make<DrawLineStrategy>},
      {{"DRAWNUMBER"}, &Make<DrawNumberStrategy>},
      {{"DRAWSL"}, &Make<DrawSLStrategy>},
      {{"DRAWTEXT"}, &Make<DrawTextStrategy>},
      {{"PARTLINE"}, &Make<PartLineStrategy>},
      {{"PARTLINE2"}, &Make<PartLine2Strategy>},
      {{"POLYLINE"}, &Make<PolyLineStrategy>},
      {{"STICKLINE"}, &Make<StickLineStrategy>},
      {{"VERTLINE"}, &Make<VertLineStrategy>},
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
