#pragma once

// Window accumulation and the recursive average shared by the averages and
// sums of this folder.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/incremental.h"
#include "strategy/util/window_loop.h"

// Sum of the valid values, added in index order from 0.0.
struct SumOfValid {
  double sum = 0.0;
  void Add(double value, double) {
    if (IsValid(value)) sum = sum + value;
  }
};

// Product of the valid values, multiplied in index order from 1.0.
struct ProductOfValid {
  double product = 1.0;
  void Add(double value, double) {
    if (IsValid(value)) product = product * value;
  }
};

// Linearly weighted sum (weight 1 at the window's oldest bar): invalid values
// add nothing to the sum but their weight still counts in the divisor.
struct WeightedSumOfValid {
  double sum = 0.0;
  double divisor = 0.0;
  void Add(double value, double weight) {
    if (IsValid(value)) sum = weight * value + sum;
    divisor = divisor + weight;
  }
};

// Accumulates x[start..i] bar after bar. When a window starts where the
// previous one started, only the bars after the previous window's end are
// added to its total: that is the same sequence of operations as a rescan of
// the window, so the result is identical, and windows anchored at one bar
// cost O(1) per bar.
template <typename Acc>
class GrowingWindow {
 public:
  // Requires start <= i < x.size().
  const Acc& Over(const std::vector<double>& x, size_t start, size_t i) {
    size_t k = start;
    if (used_ && start == start_ && end_ <= i + 1) {
      k = end_;
    } else {
      acc_ = Acc();
      start_ = start;
    }
    for (; k <= i; ++k) acc_.Add(x[k], static_cast<double>(k - start + 1));
    end_ = i + 1;
    used_ = true;
    return acc_;
  }

 private:
  Acc acc_;
  size_t start_ = 0;
  size_t end_ = 0;  // one past the last bar in acc_
  bool used_ = false;
};

// Per-bar window of MA, SUM and WMA over the first len bars: invalid before
// the first valid bar f; at the others the window x[start..i], start =
// WindowStartFrom(f, i, n[i]), gives finish(accumulated, i - start + 1), and
// a window starting after i (a period below 1) gives `empty`.
template <typename Acc, typename Finish>
std::vector<double> PerBarWindow(const std::vector<double>& x, const std::vector<double>& n,
                                 double empty, Finish finish) {
  GrowingWindow<Acc> window;
  return PerBarWindows(
      MinLength(x, n), FirstValidBar(x), n, empty, NoSkip,
      [&](size_t i, size_t from, double count) { return finish(window.Over(x, from, i), count); });
}

// Bars [begin, end) of the recursive average of EMA and SMA: an invalid x[i]
// gives an invalid bar and leaves the average as it was; the first valid
// value seeds it and every later one updates it to next(average, i).
// `carry` holds the average and whether it is seeded.
template <typename X, typename Next, typename Put>
void SeededAverageBars(const X& x, size_t begin, size_t end, Carry& carry, Next next, Put put) {
  // The average lives in a local: a store of put() could alias carry.acc,
  // which would send the average through memory at every bar.
  double acc = carry.acc;
  bool seeded = carry.seeded;
  for (size_t i = begin; i < end; ++i) {
    if (!IsValid(x[i])) {
      put(i, kInvalidValue);
      continue;
    }
    acc = seeded ? next(acc, i) : x[i];
    seeded = true;
    put(i, acc);
  }
  carry.acc = acc;
  carry.seeded = seeded;
}

// The same over the first len bars, as a new series.
template <typename Next>
std::vector<double> SeededAverage(const std::vector<double>& x, size_t len, Next next) {
  std::vector<double> out(len);
  Carry carry;
  SeededAverageBars(x, 0, len, carry, next, [&out](size_t i, double v) { out[i] = v; });
  return out;
}

// Resumes a seeded average of the series x over min(len(x), bar_count) bars.
template <typename Next>
bool ResumeSeededAverage(const SeriesView& x, size_t bar_count, size_t from, NodeState& state,
                         Next next) {
  const size_t len = x.size() < bar_count ? x.size() : bar_count;
  return ResumeLoop(state, x, len, from, 0, 0, [&](size_t begin, size_t end, Carry& carry, auto put) {
    SeededAverageBars(x, begin, end, carry, next, put);
  });
}

// Bars [begin, end) of the recursive average of DMA and MEMA: invalid before
// the first valid bar f, x[f] at f, then next(previous output, i), the
// previous output carried in carry.acc.
template <typename X, typename Next, typename Put>
void SeededAtFirstValidBars(const X& x, size_t f, size_t begin, size_t end, Carry& carry, Next next,
                            Put put) {
  for (size_t i = begin; i < end; ++i) {
    if (i < f) {
      put(i, kInvalidValue);
      continue;
    }
    carry.acc = i == f ? x[f] : next(carry.acc, i);
    put(i, carry.acc);
  }
}

// The same over the first len bars, as a new series.
template <typename Next>
std::vector<double> SeededAtFirstValid(const std::vector<double>& x, size_t len, Next next) {
  std::vector<double> out(len);
  Carry carry;
  SeededAtFirstValidBars(x, FirstValidBar(x), 0, len, carry, next,
                         [&out](size_t i, double v) { out[i] = v; });
  return out;
}

// Resumes a DMA/MEMA recursion over all bars of argument 0, a series, whose
// next value is step(previous output, x[i]).
template <typename Step>
bool ResumeSeededAtFirstValid(const std::vector<const NodeState*>& args, size_t from,
                              NodeState& state, Step step) {
  return ResumeOverSeries(
      args, from, state, 0,
      [&](const auto& x, size_t f, size_t begin, size_t end, Carry& carry, auto put) {
        SeededAtFirstValidBars(
            x, f, begin, end, carry, [&](double previous, size_t i) { return step(previous, x[i]); },
            put);
      });
}

// Bars [begin, end) of the running sum over the last n >= 1 bars counted from
// the first valid bar f: each valid x[i] is added, x[i - n] is subtracted
// once i >= f + n, and invalid values inside the window count as 0. Bars
// before f + n - 1 are invalid; the others get finish(sum). n = 0 is the
// cumulative sum from f. The sum is carried in carry.acc.
template <typename X, typename Finish, typename Put>
void WindowSumBars(const X& x, size_t f, uint64_t n, size_t begin, size_t end, Carry& carry,
                   Finish finish, Put put) {
  // The sum lives in a local (see SeededAverageBars), written back at the end.
  double s = carry.acc;
  auto enter = [&](size_t i) {
    if (IsValid(x[i])) s = s + x[i];
  };
  if (n == 0) {
    constexpr uint64_t kNoneLeaves = ~uint64_t{0};
    SlideBars(begin, end, f, kNoneLeaves, f, enter, [](size_t) {}, [&](size_t) { return s; }, put);
    carry.acc = s;
    return;
  }
  // SlideBars' loop in three stretches, so that the longest one, where a bar
  // enters and another leaves at every step, has no test of its position.
  const uint64_t first_leave = AddCount(f, n);
  const uint64_t first_output = FirstFullWindow(f, n);
  size_t i = begin;
  for (; i < end && i < f; ++i) put(i, kInvalidValue);
  for (; i < end && i < first_leave; ++i) {
    enter(i);
    put(i, i < first_output ? kInvalidValue : finish(s));
  }
  for (; i < end; ++i) {
    const double in = x[i];
    const double out = x[static_cast<size_t>(i - n)];
    const double added = s + in;
    s = IsValid(in) ? added : s;
    const double left = s - out;
    s = IsValid(out) ? left : s;
    put(i, finish(s));
  }
  carry.acc = s;
}

// The same over every bar of x, as a new series.
template <typename Finish>
std::vector<double> RollingWindowSum(const std::vector<double>& x, uint64_t n, Finish finish) {
  std::vector<double> out(x.size());
  Carry carry;
  WindowSumBars(x, FirstValidBar(x), n, 0, x.size(), carry, finish,
                [&out](size_t i, double v) { out[i] = v; });
  return out;
}

// Resumes the running window sum of argument 0, a series.
template <typename Finish>
bool ResumeWindowSum(const std::vector<const NodeState*>& args, uint64_t n, size_t from,
                     NodeState& state, Finish finish) {
  return ResumeOverSeries(
      args, from, state, n,
      [&](const auto& x, size_t f, size_t begin, size_t end, Carry& carry, auto put) {
        WindowSumBars(x, f, n, begin, end, carry, finish, put);
      });
}
