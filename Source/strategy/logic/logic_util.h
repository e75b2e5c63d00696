#pragma once

// Pieces shared by the logic functions: the argument dispatch of RANGE, IF
// and IFN, the streak counters of UPNDAY, DOWNNDAY and NDAY and the window
// count of EVERY and EXIST.

#include <cstdint>
#include <functional>
#include <vector>

#include "compiler/data_ext.h"
#include "compiler/incremental.h"
#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

// Argument dispatch of RANGE, IF and IFN on their second and third arguments:
// two numbers run the number variant, f(x, double, double); otherwise a
// number beside a series is widened to the length of the first argument and
// the series variant runs, f(x, series, series); a string or drawing in
// either place gives the empty series.
template <typename F>
DataExt DispatchNumbersOrSeries(Args view, F f) {
  const std::optional<double> b = view.Number(1);
  const std::optional<double> c = view.Number(2);
  if (b && c) return f(view.Value(0), *b, *c);
  return view.Call<Arg::kAny, Arg::kWidenedToFirst, Arg::kWidenedToFirst>(f);
}

// A streak counter over positions [0, limit): it grows by one where
// `extends(i)` holds and drops to 0 elsewhere; the output is 1 where
// threshold(i) <= counter (compared as doubles), else 0. The result has
// `length` positions; those from `limit` on stay 0.
template <typename Extends, typename Threshold>
DataExt StreakReaches(size_t length, size_t limit, Extends extends, Threshold threshold) {
  std::vector<double> out(length, 0.0);
  uint64_t streak = 0;
  for (size_t i = 0; i < limit && i < length; ++i) {
    // Multiplying by the test keeps the loop free of unpredictable branches.
    streak = (streak + 1) * static_cast<uint64_t>(extends(i));
    out[i] = threshold(i) <= static_cast<double>(streak) ? 1.0 : 0.0;
  }
  return DataExt(std::move(out));
}

// UPNDAY and DOWNNDAY: 1 where each of the last n bars moved one way from
// the bar before it, Moves()(current, previous) saying which way. Bar 0 is
// compared with itself, which is never a move; the index trick keeps the
// streak loop free of branches.
template <typename Moves>
DataExt MovesInARow(const DataExt& x_value, double n) {
  const std::vector<double>& x = x_value.m_raw_data;
  return StreakReaches(
      x.size(), x.size(), [&x](size_t i) { return Moves()(x[i], x[i - (i > 0)]); },
      [n](size_t) { return n; });
}

template <typename Moves>
DataExt MovesInARow(const DataExt& x_value, const DataExt& n_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  const std::vector<double>& n = n_value.m_raw_data;
  return StreakReaches(
      x.size(), MinLength(x, n), [&x](size_t i) { return Moves()(x[i], x[i - (i > 0)]); },
      [&n](size_t i) { return n[i]; });
}

// Counting variant of EVERY and EXIST over bars [begin, end): the number of
// true positions among the last n positions up to i (none before the first
// valid bar f; carried in carry.acc, a whole number), fed to `test`; invalid
// before f. A window of 0 positions still holds the current one, so
// EVERY(X,0) is 1 exactly where X[i] is false and EXIST(X,0) exactly where it
// is true.
template <typename X, typename Test, typename Put>
void CountTrueBars(const X& x, size_t f, uint64_t n, size_t begin, size_t end, Carry& carry,
                   Test test, Put put) {
  double& count = carry.acc;
  SlideBars(
      begin, end, f, n > 0 ? n : 1, 0, [&](size_t i) { count += Holds(x[i]) ? 1.0 : 0.0; },
      [&](size_t j) { count -= Holds(x[j]) ? 1.0 : 0.0; },
      [&](size_t) { return test(static_cast<uint64_t>(count)) ? 1.0 : 0.0; }, put);
}

// The same over every bar of x, as a new series.
template <typename Test>
DataExt CountTrueInWindow(const std::vector<double>& x, uint64_t n, Test test) {
  std::vector<double> out(x.size());
  Carry carry;
  CountTrueBars(x, FirstValidBar(x), n, 0, x.size(), carry, test,
                [&out](size_t i, double v) { out[i] = v; });
  return DataExt(std::move(out));
}

// Resume of EVERY and EXIST with a constant period; test(count, n).
template <typename Test>
bool ResumeCountTrue(const std::vector<const NodeState*>& args, size_t from, NodeState& state,
                     Test test) {
  const std::optional<double> period = NumberArg(args, 1);
  if (!period) return false;
  const uint64_t n = ToCount(*period);
  auto test_n = [&test, n](uint64_t count) { return test(count, n); };
  return ResumeOverSeries(args, from, state, n > 0 ? n : 1,
                          [&](const auto& x, size_t f, size_t begin, size_t end, Carry& carry,
                              auto put) { CountTrueBars(x, f, n, begin, end, carry, test_n, put); });
}
