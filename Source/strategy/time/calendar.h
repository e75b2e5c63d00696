#pragma once

#include <ctime>
#include <vector>

#include "compiler/bar_data.h"

// Breaks a bar time (milliseconds since 1970-01-01 00:00 UTC) down into the
// calendar fields of the process's local time zone. The milliseconds are
// truncated toward zero to a whole number, then divided by 1000 (again
// toward zero) into seconds. Returns false when the time is not a number
// inside the 64-bit millisecond range or the C library cannot represent its
// year; such a bar is then treated like a bar without a time.
bool LocalCalendar(double milliseconds, std::tm& out);

// One value per bar that has a time, `field` applied to its broken-down local
// time. Bars without a time contribute nothing, so after such a bar the
// values no longer line up with their bars.
template <typename Field>
std::vector<double> CalendarSeries(const BarData& bars, Field field) {
  const std::vector<double>& times = bars.Time();
  std::vector<double> out;
  out.reserve(times.size());
  std::tm fields{};
  for (size_t i = 0; i < times.size(); ++i) {
    // A bar without time has the time NaN, which no calendar holds.
    if (!LocalCalendar(times[i], fields)) continue;
    out.push_back(field(fields));
  }
  return out;
}
