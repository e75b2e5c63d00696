#pragma once

// Shared loop of the two price-limit functions.

#include <vector>

#include "strategy/util/strategy_util.h"

// limit(x[i], ratio_at(i)) for the first `len` bars; a bar whose price or
// ratio is invalid is invalid.
template <typename RatioAt, typename Limit>
std::vector<double> PriceLimit(const std::vector<double>& xs, size_t len, RatioAt ratio_at,
                               Limit limit) {
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    const double r = ratio_at(i);
    out.push_back(IsValid(xs[i]) && IsValid(r) ? limit(xs[i], r) : kInvalidValue);
  }
  return out;
}
