#include "strategy/time/hour_strategy.h"

#include "strategy/time/calendar.h"

DataExt Hour(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) { return tm.tm_hour + 1.0; }));
}

DataExt HourStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Hour(env.Bars());
}
