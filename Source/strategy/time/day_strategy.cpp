#include "strategy/time/day_strategy.h"

#include "strategy/time/calendar.h"

DataExt Day(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) {
    return static_cast<double>(tm.tm_mday);
  }));
}

DataExt DayStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Day(env.Bars());
}
