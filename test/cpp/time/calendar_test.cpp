// Calendar functions over bar times, in two explicitly set time zones.
// Expected values are read off a calendar: 1710495005000 ms is Friday
// 2024-03-15 09:30:05 UTC.

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

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
#include "strategy_test_util.h"

namespace {

const double kNoTime = std::nan("");  // marks a row without "t"

BarData Bars(const std::vector<double>& times) {
  std::vector<BarRow> rows(times.size());
  for (size_t i = 0; i < times.size(); ++i) rows[i].time = times[i];
  return BarData(rows);
}

// Sets the process's local zone for each test and restores it afterwards.
class ZoneTest : public ::testing::Test {
 protected:
  static void SetZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  void SetUp() override {
    const char* old = std::getenv("TZ");
    if (old != nullptr) old_zone_ = old;
    had_zone_ = old != nullptr;
    SetZone("UTC");
  }
  void TearDown() override {
    had_zone_ ? (void)setenv("TZ", old_zone_.c_str(), 1) : (void)unsetenv("TZ");
    tzset();
  }

 private:
  bool had_zone_ = false;
  std::string old_zone_;
};

// Bars: 2024-03-15 09:30:05 UTC; 2024-03-17 00:00 UTC (Sunday midnight; a
// Saturday evening in New York); 2024-01-15 12:00 UTC (winter: New York is 5
// hours behind, not 4); -1500 ms (truncated toward zero: -1 s, that is
// 1969-12-31 23:59:59 UTC, a Wednesday).
TEST_F(ZoneTest, CalendarFieldsInBothZones) {
  struct Case {
    const char* name;
    DataExt (*field)(const BarData&);
    std::vector<double> utc, new_york;
  };
  const std::vector<Case> cases = {
      {"DATE", Date, {1240315, 1240317, 1240115, 691231}, {1240315, 1240316, 1240115, 691231}},
      {"TIME", Time, {93005, 0, 120000, 235959}, {53005, 200000, 70000, 185959}},
      {"YEAR", Year, {2024, 2024, 2024, 1969}, {2024, 2024, 2024, 1969}},
      {"MONTH", Month, {3, 3, 1, 12}, {3, 3, 1, 12}},
      {"DAY", Day, {15, 17, 15, 31}, {15, 16, 15, 31}},
      {"WEEKDAY", Weekday, {5, 7, 1, 3}, {5, 6, 1, 3}},
      {"HOUR", Hour, {10, 1, 13, 24}, {6, 21, 8, 19}},
      {"MINUTE", Minute, {30, 0, 0, 59}, {30, 0, 0, 59}},
  };
  const BarData bars = Bars({1710495005000.0, 1710633600000.0, 1705320000000.0, -1500.0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetZone("UTC");
    EXPECT_SERIES(c.field(bars).getRawData(), (c.utc));
    SetZone("EST5EDT,M3.2.0,M11.1.0");  // a POSIX rule: works without tzdata
    EXPECT_SERIES(c.field(bars).getRawData(), (c.new_york));
  }
}

}  // namespace
