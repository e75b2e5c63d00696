#pragma once

// Helpers for series tests: build values as literals and compare series
// exactly, printing expected and got side by side on a mismatch.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/data_ext.h"
#include "strategy/util/strategy_util.h"

// Shorthand for the invalid value in expected series.
inline constexpr double INV = kInvalidValue;

inline DataExt Series(std::vector<double> values) { return DataExt(std::move(values)); }
inline DataExt Number(double value) { return DataExt(value); }

inline bool SameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b;
}

inline std::string SideBySide(const std::vector<double>& want, const std::vector<double>& got) {
  std::ostringstream out;
  out.precision(17);
  size_t n = want.size() > got.size() ? want.size() : got.size();
  out << "  index | expected | got\n";
  for (size_t i = 0; i < n; ++i) {
    out << "  " << i << " | ";
    if (i < want.size()) out << want[i]; else out << "-";
    out << " | ";
    if (i < got.size()) out << got[i]; else out << "-";
    bool same = i < want.size() && i < got.size() && SameDouble(want[i], got[i]);
    out << (same ? "" : "   <==") << "\n";
  }
  return out.str();
}

// Exact comparison (NaN equals NaN).
inline ::testing::AssertionResult SeriesEq(const std::vector<double>& got,
                                           const std::vector<double>& want) {
  bool ok = got.size() == want.size();
  for (size_t i = 0; ok && i < want.size(); ++i) ok = SameDouble(got[i], want[i]);
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "series differ\n" << SideBySide(want, got);
}

// Comparison within an absolute tolerance, for values written as decimals.
inline ::testing::AssertionResult SeriesNear(const std::vector<double>& got,
                                             const std::vector<double>& want,
                                             double tolerance = 1e-9) {
  bool ok = got.size() == want.size();
  for (size_t i = 0; ok && i < want.size(); ++i) {
    ok = SameDouble(got[i], want[i]) || std::fabs(got[i] - want[i]) <= tolerance;
  }
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "series differ\n" << SideBySide(want, got);
}

#define EXPECT_SERIES(got, ...) EXPECT_TRUE(SeriesEq((got), std::vector<double>__VA_ARGS__))
