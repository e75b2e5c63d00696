#pragma once

// Pieces shared by the tests of the built-in function families: special
// values, a run context with a number of bars, one-line strategy calls and
// the hostile argument values of the registry sweep.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "compiler/environment.h"
#include "series_expect.h"
#include "strategy/util/strategy.h"

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double kInf = std::numeric_limits<double>::infinity();

// `count` empty bars and a run context over them: the length a number
// widens to.
struct BarsEnv {
  explicit BarsEnv(size_t count) : bars(std::vector<BarRow>(count)), env(bars) {}
  BarsEnv(const BarsEnv&) = delete;
  BarData bars;
  Environment env;
};

using Maker = std::unique_ptr<Strategy> (*)();

template <typename T>
std::unique_ptr<Strategy> Make() {
  return std::make_unique<T>();
}

// Exec of a fresh strategy over `bars` empty bar rows.
template <typename T>
DataExt Call(std::vector<DataExt> args, size_t bars = 0) {
  BarsEnv context(bars);
  return T().Exec(std::move(args), context.env, nullptr);
}

// One call of a strategy and the series it must return, compared exactly.
struct ExecCase {
  const char* note;
  Maker make;
  std::vector<DataExt> args;
  std::vector<double> want;
};

inline void ExpectExecCases(const std::vector<ExecCase>& cases, size_t bars = 0) {
  BarsEnv context(bars);
  for (const ExecCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(c.make()->Exec(c.args, context.env, nullptr).getRawData(), (c.want));
  }
}

inline DataExt Text(const char* text) { return DataExt(std::string(text)); }

inline DataExt Drawing() {
  return DataExt(DrawEntry("POLYLINE", std::vector<DrawPositionEntry>{{1.0, 0.0}}));
}

// Arguments no function can make sense of: empty and short series, series
// full of gaps, NaN and infinities, negative, huge, NaN, infinite and
// INT32_MIN numbers, a string and a drawing.
inline const std::vector<DataExt>& HostileValues() {
  static const std::vector<DataExt> values = {
      Series({}),
      Series({2}),
      Series({INV, 1, kNaN, -1, 1e300, -kInf, 0, 3}),
      Series({-1, kNaN, 1e300, kInf, -kInf, 2.5, 0, -1e300}),
      Number(0),
      Number(-1),
      Number(1e300),
      Number(kNaN),
      Number(kInf),
      Number(-2147483648.0),
      Text("3"),
      Drawing(),
  };
  return values;
}
inline constexpr size_t kLongestHostileSeries = 8;

// The per-bar window start written plainly, for the naive versions the fast
// ones are compared with: trunc(i - n + 1) when it fits in 32 bits, else (and
// for NaN) the first valid bar f; never before f.
inline int64_t NaiveWindowStart(size_t f, size_t i, double n) {
  const double s = static_cast<double>(i) - n + 1.0;
  const int64_t start = s > -2147483649.0 && s < 2147483648.0 ? static_cast<int64_t>(s) : INT32_MIN;
  return std::max<int64_t>(start, static_cast<int64_t>(f));
}

