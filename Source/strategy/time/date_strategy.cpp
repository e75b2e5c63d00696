#include "strategy/time/date_strategy.h"

#include "strategy/time/calendar.h"

DataExt Date(const BarData& bars) {
  // In doubles: a far-future year times 10000 would overflow an int.
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) {
    return tm.tm_year * 10000.0 + (tm.tm_mon + 1.0) * 100.0 + tm.tm_mday;
  }));
}

DataExt DateStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Date(env.Bars());
}
