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

// Dispatch shared by ZTPRICE and DTPRICE: a number ratio gives the constant
// variant, a series the per-bar one, anything else the empty series.
template <typename Constant, typename PerBar>
DataExt ExecPriceLimit(const std::vector<DataExt>& args, Constant constant, PerBar per_bar) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  switch (KindOf(args[1])) {
    case ArgKind::kSeries: return per_bar(args[0], args[1]);
    case ArgKind::kNumber: return constant(args[0], args[1].getSingleNumber());
    default: return DataExt();
  }
}
