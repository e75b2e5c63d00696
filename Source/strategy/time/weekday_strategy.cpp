#include "strategy/time/weekday_strategy.h"

#include "strategy/time/calendar.h"

DataExt Weekday(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) {
    return tm.tm_wday == 0 ? 7.0 : static_cast<double>(tm.tm_wday);
  }));
}

DataExt WeekdayStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Weekday(env.Bars());
}
