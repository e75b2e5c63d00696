#pragma once

// The loops shared by the element-wise math functions. Each function only
// supplies the scalar operation; the loop, the result allocation and the
// treatment of the invalid value are written once here.

#include <vector>

#include "compiler/data_ext.h"
#include "strategy/util/strategy_util.h"

// One output per element of x: an invalid input stays invalid, every other
// value (NaN included) goes through `op`. Functions with a wider domain test
// (LN, LOG, SQRT) return kInvalidValue from `op` themselves.
template <typename Op>
DataExt MapUnary(const DataExt& x, Op op) {
  const std::vector<double>& in = x.m_raw_data;
  std::vector<double> out(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    out[i] = IsValid(in[i]) ? op(in[i]) : kInvalidValue;
  }
  return DataExt(std::move(out));
}

// One output per position below the shorter of a and b: invalid where either
// input is invalid, otherwise op(a[i], b[i]).
template <typename Op>
DataExt MapBinary(const DataExt& a, const DataExt& b, Op op) {
  const std::vector<double>& x = a.m_raw_data;
  const std::vector<double>& y = b.m_raw_data;
  const size_t length = MinLength(x, y);
  std::vector<double> out(length);
  for (size_t i = 0; i < length; ++i) {
    out[i] = IsValid(x[i]) && IsValid(y[i]) ? op(x[i], y[i]) : kInvalidValue;
  }
  return DataExt(std::move(out));
}
