#include "strategy/statistics/window_stats.h"

namespace window_stats {

size_t FirstBothValid(const std::vector<double>& a, const std::vector<double>& b) {
  const size_t length = MinLength(a, b);
  size_t i = 0;
  while (i < length && !(IsValid(a[i]) && IsValid(b[i]))) ++i;
  return i;
}

}  // namespace window_stats
