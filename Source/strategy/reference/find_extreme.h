#pragma once

// The T-th highest or lowest value of the M bars that end N bars back
// (FINDHIGH, FINDLOW) or the bars since it (FINDHIGHBARS, FINDLOWBARS).
// Candidates go through a binary heap of at most T elements keyed on value
// alone; which of equal values is reported follows from the heap's order.
// Long windows are first asked of their order statistics (WindowOrder),
// which settle the heap's outcome in most windows without the walk.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "strategy/util/args.h"
#include "strategy/util/element.h"
#include "strategy/reference/window_order.h"
#include "strategy/util/strategy_util.h"
#include "util/cancel.h"

// HIGH: the heap's top is its smallest value; a value at least as high as
// the top replaces it.
struct FindHighOrder {
  static constexpr bool kHigh = true;
  bool operator()(const Element& a, const Element& b) const { return a.value > b.value; }
  static bool Replaces(double value, double top) { return top <= value; }
};

// LOW: the top is the largest value; a value at most as low replaces it.
struct FindLowOrder {
  static constexpr bool kHigh = false;
  bool operator()(const Element& a, const Element& b) const { return a.value < b.value; }
  static bool Replaces(double value, double top) { return value <= top; }
};

// What a FIND function reports about the heap's top.
enum class FindOutput { kValue, kBars };

// Offers x[start..end] in increasing order to `heap` (cleared first) holding
// at most `keep` elements; returns the output for bar i, or the invalid value
// when the heap stays empty.
template <typename Order>
double FindInWindow(const std::vector<double>& x, size_t start, size_t end, uint64_t keep,
                    size_t i, FindOutput output, std::vector<Element>& heap) {
  heap.clear();
  const Order order;
  for (size_t k = start; k <= end; ++k) {
    if (heap.size() < keep) {
      heap.emplace_back(static_cast<int>(k), x[k]);
      std::push_heap(heap.begin(), heap.end(), order);
    } else if (!heap.empty() && Order::Replaces(x[k], heap.front().value)) {
      std::pop_heap(heap.begin(), heap.end(), order);
      heap.back() = Element(static_cast<int>(k), x[k]);
      std::push_heap(heap.begin(), heap.end(), order);
    }
  }
  if (heap.empty()) return kInvalidValue;
  const Element& top = heap.front();
  if (output == FindOutput::kValue) return top.value;
  return static_cast<double>(static_cast<int>(i) - top.position);
}

// Windows longer than this are first asked of their order statistics.
constexpr size_t kOrderedWindow = 256;

// The heap walk's output for x[start..end] when the window's order settles
// it, else nothing. Without NaN in the window the heap ends holding the
// `keep` highest values (lowest for LOW), all of them when the window is
// shorter: its top has the k-th highest value, k = min(keep, window). That
// value is the output unless a +0 and a -0 make its bits depend on which
// equal element is on top; the bars are the output when the value occurs
// once in the window.
template <typename Order>
std::optional<double> FindByOrder(std::optional<WindowOrder>& order,
                                  const std::vector<double>& x, size_t start, size_t end,
                                  uint64_t keep, size_t i, FindOutput output) {
  const size_t size = end - start + 1;
  if (size <= kOrderedWindow || keep == 0) return std::nullopt;
  if (!order) order.emplace(x);
  if (order->HasNaN(start, end)) return std::nullopt;
  order->MoveTo(start, end);
  const size_t k = keep < size ? static_cast<size_t>(keep) : size;
  const size_t at = order->KthSmallest(Order::kHigh ? size - k : k - 1);
  if (output == FindOutput::kValue) {
    if (x[at] == 0.0 && order->HasBothZeros(start, end)) return std::nullopt;
    return x[at];
  }
  if (order->EqualCount(at) != 1) return std::nullopt;
  return static_cast<double>(static_cast<int>(i) - static_cast<int>(at));
}

// The output for bar i over x[start..end]: from the window's order where it
// settles it, else from the heap walk.
template <typename Order>
double FindOutputAt(std::optional<WindowOrder>& order, const std::vector<double>& x,
                    size_t start, size_t end, uint64_t keep, size_t i, FindOutput output,
                    std::vector<Element>& heap) {
  if (std::optional<double> settled = FindByOrder<Order>(order, x, start, end, keep, i, output)) {
    return *settled;
  }
  return FindInWindow<Order>(x, start, end, keep, i, output, heap);
}

// Constant N, M, T. M < T gives the empty series; bars whose own value is
// invalid, or before N + T - 1, give the invalid value.
template <typename Order>
DataExt FindConstant(const DataExt& x, uint64_t n, uint64_t m, uint64_t t, FindOutput output) {
  if (m < t) return DataExt();
  const std::vector<double>& xs = x.getRawData();
  std::vector<double> out;
  out.reserve(xs.size());
  std::vector<Element> heap;
  heap.reserve(static_cast<size_t>(std::min<uint64_t>(t, xs.size())));
  std::optional<WindowOrder> order;
  const uint64_t first_bar_plus_one = AddCount(n, t);  // i < n + t - 1, without wrapping
  CancelPoll poll;
  for (size_t i = 0; i < xs.size(); ++i) {
    if (!IsValid(xs[i]) || i + 1 < first_bar_plus_one) {
      out.push_back(kInvalidValue);
      continue;
    }
    // Here n <= i + 1, so end >= -1; an empty window leaves the heap empty.
    const int64_t end = static_cast<int64_t>(i) - static_cast<int64_t>(n);
    const int64_t start = m > static_cast<uint64_t>(end) ? 0 : end - static_cast<int64_t>(m) + 1;
    if (end < 0 || start > end) {
      out.push_back(kInvalidValue);
      continue;
    }
    poll.Step(static_cast<size_t>(end - start + 1));
    out.push_back(FindOutputAt<Order>(order, xs, static_cast<size_t>(start),
                                      static_cast<size_t>(end), t, i, output, heap));
  }
  return DataExt(std::move(out));
}

// Per-bar N, M, T. A negative or NaN parameter, a bar before n + t - 1, or a
// heap size trunc(t) of 0 gives the invalid value; the bar's own value is not
// tested and M < T is allowed.
template <typename Order>
DataExt FindPerBar(const DataExt& x, const DataExt& n, const DataExt& m, const DataExt& t,
                   FindOutput output) {
  const std::vector<double>& xs = x.getRawData();
  const std::vector<double>& ns = n.getRawData();
  const std::vector<double>& ms = m.getRawData();
  const std::vector<double>& ts = t.getRawData();
  const size_t len = MinLength(xs, ns, ms, ts);
  std::vector<double> out;
  out.reserve(len);
  std::vector<Element> heap;
  std::optional<WindowOrder> order;
  CancelPoll poll;
  for (size_t i = 0; i < len; ++i) {
    const double bar = static_cast<double>(i);
    // Written so that a NaN N or T fails the test. A NaN M passes: its
    // window start trunc32(end - M + 1) is INT32_MIN, so the window starts
    // at bar 0.
    const bool usable =
        ns[i] >= 0.0 && !(ms[i] < 0.0) && ts[i] >= 1.0 && !(bar < ns[i] + ts[i] - 1.0);
    if (!usable) {
      out.push_back(kInvalidValue);
      continue;
    }
    // t >= 1 and n <= i - t + 1 keep i - n within [0, i].
    const size_t end = static_cast<size_t>(bar - ns[i]);
    const double first = static_cast<double>(end) - ms[i] + 1.0;
    const size_t start = first > 0.0 ? static_cast<size_t>(first) : 0;
    if (start > end) {
      out.push_back(kInvalidValue);
      continue;
    }
    poll.Step(end - start + 1);
    out.push_back(FindOutputAt<Order>(order, xs, start, end, ToCount(ts[i]), i, output, heap));
  }
  return DataExt(std::move(out));
}

// Argument adaptation shared by the four FIND strategies: all of N, M, T
// numbers run the constant variant (each through ToCount); otherwise each
// number is repeated once per value of X and the per-bar variant runs; a
// string or drawing among them gives the empty series.
template <typename Order>
DataExt FindExec(Args view, FindOutput output) {
  const std::optional<uint64_t> n = view.Count(1);
  const std::optional<uint64_t> m = view.Count(2);
  const std::optional<uint64_t> t = view.Count(3);
  if (n && m && t) {
    return view.Call<Arg::kSeries>(
        [&](const DataExt& x) { return FindConstant<Order>(x, *n, *m, *t, output); });
  }
  return view.Call<Arg::kSeries, Arg::kWidenedToFirst, Arg::kWidenedToFirst, Arg::kWidenedToFirst>(
      [output](const DataExt& x, const DataExt& ns, const DataExt& ms, const DataExt& ts) {
        return FindPerBar<Order>(x, ns, ms, ts, output);
      });
}
