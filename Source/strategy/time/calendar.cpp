#include "strategy/time/calendar.h"

#include <cstdint>
#include <limits>

bool LocalCalendar(double milliseconds, std::tm& out) {
  // -2^63 is exact in a double; every double below 2^63 truncates into int64.
  if (!(milliseconds >= -9223372036854775808.0 && milliseconds < 9223372036854775808.0)) {
    return false;
  }
  const int64_t seconds = static_cast<int64_t>(milliseconds) / 1000;
  if (seconds < std::numeric_limits<std::time_t>::min() ||
      seconds > std::numeric_limits<std::time_t>::max()) {
    return false;
  }
  const std::time_t when = static_cast<std::time_t>(seconds);
  // localtime_r rather than localtime: formulas may run on several threads.
  return localtime_r(&when, &out) != nullptr;
}
