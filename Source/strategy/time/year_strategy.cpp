#include "strategy/time/year_strategy.h"

#include "strategy/time/calendar.h"

DataExt Year(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) { return tm.tm_year + 1900.0; }));
}

DataExt YearStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Year(env.Bars());
}
