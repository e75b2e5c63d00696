// Time functions over one-minute bars, broken down in UTC.

#include <cstdlib>
#include <ctime>

#include "bench_util.h"
#include "strategy/time/bar_pos_strategy.h"
#include "strategy/time/date_strategy.h"
#include "strategy/time/hour_strategy.h"
#include "strategy/time/time_strategy.h"
#include "strategy/time/weekday_strategy.h"
#include "strategy/time/year_strategy.h"

namespace {

const BarData& MinuteBars() {
  static const BarData bars = [] {
    setenv("TZ", "UTC", 1);
    tzset();
    std::vector<BarRow> rows(bench::kBars);
    for (size_t i = 0; i < rows.size(); ++i) {
      rows[i].time = 1577836800000.0 + 60000.0 * static_cast<double>(i);
      rows[i].has_time = true;
    }
    return BarData(rows);
  }();
  return bars;
}

const bool kRegistered = bench::Register(
    "Time", {
                {"Date", [] { return Date(MinuteBars()); }},
                {"Time", [] { return Time(MinuteBars()); }},
                {"Year", [] { return Year(MinuteBars()); }},
                {"Weekday", [] { return Weekday(MinuteBars()); }},
                {"Hour", [] { return Hour(MinuteBars()); }},
                {"BarPos", [] { return BarPos(MinuteBars()); }},
            });

}  // namespace
