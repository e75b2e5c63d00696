#include "strategy/time/minute_strategy.h"

#include "strategy/time/calendar.h"

DataExt Minute(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) {
    return static_cast<double>(tm.tm_min);
  }));
}

DataExt MinuteStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  if (env.m_period >= 1440) return DataExt();
  return Minute(env.Bars());
}
