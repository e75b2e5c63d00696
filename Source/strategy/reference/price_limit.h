#pragma once

// Shared loop of the two price-limit functions, DTPRICE and ZTPRICE.

#include <vector>

#include "compiler/data_ext.h"
#include "strategy/util/strategy_util.h"

// limit(x[i], ratio_at(i)) for the first `len` bars; a bar whose price or
// ratio is invalid is invalid.
template <typename RatioAt, typename Limit>
std::vector<double> PriceLimitSeries(const std::vector<double>& xs, size_t len, RatioAt ratio_at,
                                     Limit limit) {
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    const double r = ratio_at(i);
    out.push_back(IsValid(xs[i]) && IsValid(r) ? limit(xs[i], r) : kInvalidValue);
  }
  return out;
}

// One ratio for every bar.
template <typename Limit>
DataExt PriceLimit(const DataExt& x, double r, Limit limit) {
  const std::vector<double>& xs = x.getRawData();
  return DataExt(PriceLimitSeries(
      xs, xs.size(), [r](size_t) { return r; }, limit));
}

// A ratio per bar, over the shorter of the two series.
template <typename Limit>
DataExt PriceLimit(const DataExt& x, const DataExt& r, Limit limit) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& rs = r.getRawData();
  return DataExt(PriceLimitSeries(
      xs, MinLength(xs, rs), [&rs](size_t i) { return rs[i]; }, limit));
}
