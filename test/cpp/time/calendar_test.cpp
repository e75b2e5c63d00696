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
  for (size_t i = 0; i < times.size(); ++i) {
    rows[i].has_time = !std::isnan(times[i]);
    rows[i].time = rows[i].has_time ? times[i] : 0.0;
  }
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

TEST_F(ZoneTest, BarsWithoutUsableTimeAreSkipped) {
  // Fractional milliseconds are dropped; a row without "t", NaN, infinities
  // and times beyond the 64-bit millisecond range contribute no value.
  const BarData bars = Bars({1710495005999.9, kNoTime, 1710633600000.0, kInf, -1e300, 9.3e18});
  EXPECT_SERIES(Time(bars).getRawData(), {93005, 0});
  EXPECT_SERIES(Date(bars).getRawData(), {1240315, 1240317});
  std::vector<BarRow> nan_time(1);
  nan_time[0].has_time = true;
  nan_time[0].time = std::nan("");
  EXPECT_SERIES(Year(BarData(nan_time)).getRawData(), {});
  // A far-future time that still fits: DATE's arithmetic must not overflow.
  const std::vector<double> year = Year(Bars({9e18})).getRawData();
  ASSERT_EQ(year.size(), 1u);
  EXPECT_GT(year[0], 2.8e8);
  EXPECT_EQ(Date(Bars({9e18})).getRawData().size(), 1u);
}

TEST_F(ZoneTest, StrategiesReadTheEnvironment) {
  struct Case {
    const char* name;
    Maker make;
    unsigned long period;
    std::vector<double> want;
  };
  const std::vector<Case> cases = {
      {"TIME intraday", Make<TimeStrategy>, 1439, {93005, 0}},
      {"TIME daily", Make<TimeStrategy>, 1440, {}},
      {"MINUTE intraday", Make<MinuteStrategy>, 5, {30, 0}},
      {"MINUTE weekly", Make<MinuteStrategy>, 10080, {}},
      {"DATE daily", Make<DateStrategy>, 1440, {1240315, 1240317}},
      {"BARPOS", Make<BarPosStrategy>, 1440, {0, 1, 2}},
      {"PERIOD 5", Make<PeriodStrategy>, 5, {5, 5, 5}},
  };
  Environment env;
  env.m_bars = std::make_shared<BarData>(Bars({1710495005000.0, kNoTime, 1710633600000.0}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    env.m_period = c.period;
    EXPECT_SERIES(c.make()->Exec({Number(1)}, env, nullptr).getRawData(), (c.want));
  }
}

TEST_F(ZoneTest, EveryStrategySurvivesOddBarsAndPeriods) {
  const std::vector<Maker> all = {
      Make<DateStrategy>,    Make<TimeStrategy>, Make<YearStrategy>,   Make<MonthStrategy>,
      Make<DayStrategy>,     Make<WeekdayStrategy>, Make<HourStrategy>, Make<MinuteStrategy>,
      Make<BarPosStrategy>, Make<PeriodStrategy>};
  const std::vector<BarData> bar_sets = {
      Bars({}), Bars({kNoTime}), Bars({-kInf, kInf, -9.3e18, -9.2e18, 1e300, -0.0, 1.7e308})};
  const std::vector<DataExt> odd_args = {Number(kNaN), Text("text"), Drawing()};
  Environment env;
  for (const BarData& bars : bar_sets) {
    env.m_bars = std::make_shared<BarData>(bars);
    for (unsigned long period : {0ul, 1440ul, ~0ul}) {
      env.m_period = period;
      for (auto make : all) {
        EXPECT_LE(make()->Exec({}, env, nullptr).getRawData().size(), bars.size());
        EXPECT_LE(make()->Exec(odd_args, env, nullptr).getRawData().size(), bars.size());
      }
    }
  }
}

}  // namespace
