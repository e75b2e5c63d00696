#include "strategy/time/time_strategy.h"

#include "strategy/time/calendar.h"

DataExt Time(const BarData& bars) {
  return DataExt(CalendarSeries(bars, [](const std::tm& tm) {
    return tm.tm_hour * 10000.0 + tm.tm_min * 100.0 + tm.tm_sec;
  }));
}

DataExt TimeStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  if (env.m_period >= 1440) return DataExt();
  return Time(env.Bars());
}
