#pragma once

// Window extremes shared by HHV/LLV (the value) and HHVBARS/LLVBARS (bars
// since it). Each algorithm is written once for the maximum and the minimum;
// a Side says which way "beyond" points.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "compiler/incremental.h"
#include "strategy/util/monotonic_queue.h"
#include "strategy/util/window_loop.h"

struct HighSide {
  static bool Beyond(double value, double kept) { return value > kept; }
  using Strict = EvictSmaller;  // oldest of equal highs stays in front
  static constexpr double kStart = std::numeric_limits<double>::lowest();
};

struct LowSide {
  static bool Beyond(double value, double kept) { return value < kept; }
  using Strict = EvictGreater;  // oldest of equal lows stays in front
  static constexpr double kStart = std::numeric_limits<double>::max();
};

// Longest window a constant count keeps, bounded by the data.
inline size_t WindowCapacity(uint64_t n, size_t len) {
  return n < len ? static_cast<size_t>(n) + 1 : len + 1;
}

// Window of a whole count n: when i >= n, indices k with i - k >= n leave.
inline size_t KeepFromCount(size_t i, uint64_t n) {
  return i >= n ? static_cast<size_t>(i - n + 1) : 0;
}

// One value per bar of x: invalid before the first valid bar f, then
// value(i, k) for the extreme index k, either since f (`running`: kept from
// f and replaced only by a value strictly beyond it, so the oldest of equal
// extremes is reported) or over the sliding window that keeps bars
// keep_from(i)..i (the front of the monotonic queue).
template <typename Side, typename Evicts, typename KeepFrom, typename Value>
std::vector<double> WindowExtreme(const std::vector<double>& x, bool running, size_t capacity,
                                  KeepFrom keep_from, Value value) {
  const size_t f = FirstValidBar(x);
  if (running) {
    size_t kept = f;
    return FromFirstValid(x.size(), f, [&](size_t i) {
      if (Side::Beyond(x[i], x[kept])) kept = i;
      return value(i, kept);
    });
  }
  MonotonicQueue<Evicts> queue(x, capacity);
  return FromFirstValid(x.size(), f, [&](size_t i) {
    queue.ExpireBefore(keep_from(i));
    queue.Push(i);
    return value(i, queue.Front());
  });
}

// The constant-count variant: n = 0 is the running extreme since f.
template <typename Side, typename Evicts, typename Value>
std::vector<double> CountWindowExtreme(const std::vector<double>& x, uint64_t n, Value value) {
  return WindowExtreme<Side, Evicts>(x, n == 0, WindowCapacity(n, x.size()),
                                     [n](size_t i) { return KeepFromCount(i, n); }, value);
}

// Per-bar HHV/LLV: the extreme of x[i-k+1..i] (from bar 0 at the earliest,
// bars before f included) with k = ToCount(n[i]); k = 0 gives x[i]. Equal to
// a backward scan from kStart with a strict comparison: NaN never wins, so
// NaN values stay out of the stack and a window of NaN alone gives kStart.
// An invalid extreme reads 0.0.
template <typename Side>
std::vector<double> PerBarExtremeValue(const std::vector<double>& x, const std::vector<double>& n) {
  const size_t len = MinLength(x, n);
  const size_t f = FirstValidBar(x);
  MonotonicStack<typename Side::Strict> stack(x);
  size_t pushed = 0;  // bars below it are in the stack unless NaN
  return FromFirstValid(len, f, [&](size_t i) {
    for (; pushed <= i; ++pushed) {
      if (!std::isnan(x[pushed])) stack.Push(pushed);
    }
    const uint64_t k = ToCount(n[i]);
    if (i == f || k == 0) return x[i];
    const size_t start = k > i ? 0 : static_cast<size_t>(i - k + 1);
    const size_t at = stack.ExtremeFrom(start, len);
    return ValueOrZero(at == len ? Side::kStart : x[at]);
  });
}

// Front of a queue built afresh over x[start..i] with strict comparisons.
// A NaN entry can neither evict nor be evicted, so the front is the oldest
// extreme of the bars before the first NaN of the window (or the NaN itself
// when it opens the window).
template <typename Side>
size_t FreshQueueFront(const std::vector<double>& x, size_t start, size_t i) {
  size_t front = start;
  for (size_t k = start + 1; k <= i && !std::isnan(x[k]) && !std::isnan(x[front]); ++k) {
    if (Side::Beyond(x[k], x[front])) front = k;
  }
  return front;
}

// Per-bar HHVBARS/LLVBARS: i minus the index of the oldest extreme of the
// window from max(f, trunc(i - n[i] + 1.0)) (n[i] = 0: from f) to i. A
// negative period leaves the window empty and gives the invalid value.
template <typename Side>
std::vector<double> PerBarExtremeBars(const std::vector<double>& x, const std::vector<double>& n) {
  const size_t len = MinLength(x, n);
  const size_t f = FirstValidBar(x);
  MonotonicStack<typename Side::Strict> stack(x);
  bool seen_nan = false;
  size_t last_nan = 0;
  size_t pushed = f;  // bars f..pushed-1 are in the stack unless NaN
  return MovingWindows(
      len, f, kInvalidValue, [&n](size_t i) { return n[i] < 0.0; },
      [&](size_t i) { return n[i] == 0.0 ? static_cast<int64_t>(f) : WindowStartFrom(f, i, n[i]); },
      [&](size_t i, size_t start, double) {
        for (; pushed <= i; ++pushed) {
          if (std::isnan(x[pushed])) {
            seen_nan = true;
            last_nan = pushed;
          } else {
            stack.Push(pushed);
          }
        }
        const size_t at = seen_nan && last_nan >= start ? FreshQueueFront<Side>(x, start, i)
                                                        : stack.ExtremeFrom(start, i);
        return static_cast<double>(i - at);
      });
}

// Longest window that a run from bar 0 reads back bar by bar; longer ones
// keep the monotonic queue, whose cost does not grow with the window.
inline constexpr size_t kScannedWindow = 32;

// Bars [begin, len) of HHV/LLV read back over each window from
// max(keep_from(i), f) to i, the oldest of equal extremes kept as the queue
// keeps it; an invalid extreme reads 0.0.
template <typename Side, typename KeepFrom>
void ScanWindowExtremes(const SeriesView& x, size_t f, size_t begin, size_t len,
                        NodeState& state, KeepFrom keep_from) {
  for (size_t i = begin; i < len; ++i) {
    size_t start = keep_from(i);
    if (start < f) start = f;
    double best = x[start];
    for (size_t k = start + 1; k <= i; ++k) best = Side::Beyond(x[k], best) ? x[k] : best;
    state.At(i) = ValueOrZero(best);
  }
}

// The extreme of HHV/LLV of argument 0, a series x, at the changed bars
// from..len-1 only, read back over each window (keep_from(i) is the oldest
// bar of the window at i), an invalid extreme reading 0.0 as in the full run.
// For a short tail after a tick, and for a run from bar 0 whose windows are
// short: false (the caller runs the function in full) for a tail whose
// window reads cost more than a full pass, for long windows from bar 0, when
// bars it reads were let go, when a NaN lies in reach (its comparison rules
// belong to the full algorithm) or when argument 0 is no series.
template <typename Side, typename KeepFrom>
bool ResumeWindowExtreme(const std::vector<const NodeState*>& args, size_t from, NodeState& state,
                         KeepFrom keep_from) {
  const NodeState* arg = SeriesArg(args, 0);
  if (!arg) return false;
  const SeriesView x = arg->Series();
  const size_t len = x.size();
  if (from == 0 && x.base() == 0 && len > 0 && len - keep_from(len - 1) <= kScannedWindow) {
    const size_t f = x.FirstValid();
    for (size_t k = f; k < len; ++k) {
      if (std::isnan(x[k])) return false;
    }
    state.Restart();
    state.Resize(len);
    for (size_t i = 0; i < f && i < len; ++i) state.At(i) = kInvalidValue;
    ScanWindowExtremes<Side>(x, f, f, len, state, keep_from);
    return true;
  }
  if (from == 0 || !state.kept || !state.value.isListType() || from > len ||
      from > state.Size() || from < state.base) {
    return false;
  }
  const size_t f = x.FirstValid();
  if (f >= from) return false;
  size_t reach = keep_from(from);
  if (reach < f) reach = f;
  if (reach < x.base()) return false;
  if ((len - from) * (from - reach + 1) > len + 4096) return false;
  for (size_t k = reach; k < len; ++k) {
    if (std::isnan(x[k])) return false;
  }
  state.Resize(len);
  ScanWindowExtremes<Side>(x, f, from, len, state, keep_from);
  return true;
}
