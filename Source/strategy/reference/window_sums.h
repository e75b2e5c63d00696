#pragma once

// Window accumulation and the recursive average shared by the averages and
// sums of this folder.

#include <cstddef>
#include <cstdint>
#include <vector>

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

// Recursive average of EMA and SMA over the first len bars: an invalid x[i]
// gives an invalid bar and leaves the average as it was; the first valid
// value seeds it and every later one updates it to next(average, i).
template <typename Next>
std::vector<double> SeededAverage(const std::vector<double>& x, size_t len, Next next) {
  std::vector<double> out;
  out.reserve(len);
  double e = 0.0;
  bool seeded = false;
  for (size_t i = 0; i < len; ++i) {
    if (!IsValid(x[i])) {
      out.push_back(kInvalidValue);
      continue;
    }
    e = seeded ? next(e, i) : x[i];
    seeded = true;
    out.push_back(e);
  }
  return out;
}

// Recursive average of DMA and MEMA over the first len bars: invalid before
// the first valid bar f, x[f] at f, then next(previous output, i).
template <typename Next>
std::vector<double> SeededAtFirstValid(const std::vector<double>& x, size_t len, Next next) {
  const size_t f = FirstValidBar(x);
  double previous = 0.0;
  return FromFirstValid(len, f, [&](size_t i) {
    previous = i == f ? x[f] : next(previous, i);
    return previous;
  });
}

// Running sum over the last n >= 1 bars counted from the first valid bar f:
// each valid x[i] is added, x[i - n] is subtracted once i >= f + n, and
// invalid values inside the window count as 0. Bars before f + n - 1 are
// invalid; the others get finish(sum).
template <typename Finish>
std::vector<double> RollingWindowSum(const std::vector<double>& x, uint64_t n, Finish finish) {
  const size_t f = FirstValidBar(x);
  double s = 0.0;
  return SlidingWindows(
      x.size(), f, n, FirstFullWindow(f, n),
      [&](size_t i) {
        if (IsValid(x[i])) s = s + x[i];
      },
      [&](size_t j) {
        if (IsValid(x[j])) s = s - x[j];
      },
      [&](size_t) { return finish(s); });
}
