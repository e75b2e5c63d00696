#include "strategy/time/month_strategy.h"

#include "strategy/time/calendar.h"

DataExt Month(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) { return tm.tm_mon + 1.0; }));
}

DataExt MonthStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Month(env.Bars());
}
