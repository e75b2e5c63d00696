#pragma once

// Rank of the current value among earlier bars (HOD/LOD) and how far back
// it stays the extreme (TOPRANGE/LOWRANGE), each written once for both
// directions: Side::Beyond(a, b) is "a > b" for the high side and "a < b"
// for the low side (window_extreme.h).

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "strategy/reference/window_extreme.h"

// Counts the values of a sliding window that lie strictly above or below the
// value of a given bar, in O(log n) per operation: a Fenwick tree over the
// ranks of the series' distinct values, each bar's rank found once by one
// sort. NaN compares false with everything, so it gets no rank and is never
// counted.
class WindowRankCounter {
 public:
  static constexpr uint32_t kNoRank = UINT32_MAX;

  // Only for series shorter than 2^31 bars.
  explicit WindowRankCounter(const std::vector<double>& x) : rank_(x.size(), kNoRank) {
    std::vector<uint32_t> order;
    order.reserve(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
      if (!std::isnan(x[i])) order.push_back(static_cast<uint32_t>(i));
    }
    std::sort(order.begin(), order.end(), [&x](uint32_t a, uint32_t b) { return x[a] < x[b]; });
    uint32_t next = 0;
    for (size_t k = 0; k < order.size(); ++k) {
      if (k > 0 && x[order[k - 1]] < x[order[k]]) ++next;
      rank_[order[k]] = next;
    }
    tree_.assign(order.empty() ? 1 : next + 2, 0);
  }

  void Insert(size_t bar) { Update(bar, 1); }
  void Remove(size_t bar) { Update(bar, -1); }

  // Held values strictly below / strictly above the value of `bar`; 0 for NaN.
  int32_t CountBelow(size_t bar) const {
    return rank_[bar] == kNoRank ? 0 : Prefix(rank_[bar]);
  }
  int32_t CountAbove(size_t bar) const {
    return rank_[bar] == kNoRank ? 0 : held_ - Prefix(rank_[bar] + 1);
  }

 private:
  void Update(size_t bar, int32_t delta) {
    if (rank_[bar] == kNoRank) return;
    held_ += delta;
    for (size_t at = rank_[bar] + 1; at < tree_.size(); at += at & (~at + 1)) tree_[at] += delta;
  }
  // Number of held values whose rank is below `rank`.
  int32_t Prefix(size_t rank) const {
    int32_t sum = 0;
    for (size_t at = rank; at > 0; at -= at & (~at + 1)) sum += tree_[at];
    return sum;
  }

  std::vector<uint32_t> rank_;  // per bar; kNoRank for NaN
  std::vector<int32_t> tree_;
  int32_t held_ = 0;
};

template <typename Side>
int32_t CountBeyond(const WindowRankCounter& counter, size_t bar);
template <>
inline int32_t CountBeyond<HighSide>(const WindowRankCounter& counter, size_t bar) {
  return counter.CountAbove(bar);
}
template <>
inline int32_t CountBeyond<LowSide>(const WindowRankCounter& counter, size_t bar) {
  return counter.CountBelow(bar);
}

// 1 plus the number of bars k in [from, i) whose value is strictly beyond x[i].
template <typename Side>
double RankByScan(const std::vector<double>& x, size_t from, size_t i) {
  int64_t beyond = 0;
  for (size_t k = from; k < i; ++k) beyond += Side::Beyond(x[k], x[i]) ? 1 : 0;
  return static_cast<double>(beyond + 1);
}

// Constant window of HOD/LOD: bar i is compared with bars 0..i-1 while i < n
// and with bars i-n+1..i-1 after. Windows up to 512 bars are rescanned
// (a tight loop the compiler vectorises); longer ones go through the rank
// counter, which gives the same counts in O(log n) per bar.
template <typename Side>
std::vector<double> RankInWindow(const std::vector<double>& x, uint64_t n) {
  constexpr uint64_t kScanLimit = 512;
  std::vector<double> out;
  out.reserve(x.size());
  auto from_of = [n](size_t i) { return i < n ? 0 : static_cast<size_t>(i - n + 1); };
  if (n <= kScanLimit || x.size() >= (static_cast<size_t>(1) << 31)) {
    for (size_t i = 0; i < x.size(); ++i) {
      out.push_back(IsValid(x[i]) ? RankByScan<Side>(x, std::min(from_of(i), i), i)
                                  : kInvalidValue);
    }
    return out;
  }
  WindowRankCounter counter(x);
  size_t from = 0;  // the counter holds bars [from, i)
  for (size_t i = 0; i < x.size(); ++i) {
    if (i > 0) counter.Insert(i - 1);
    for (const size_t want = from_of(i); from < want && from < i; ++from) counter.Remove(from);
    out.push_back(IsValid(x[i]) ? static_cast<double>(CountBeyond<Side>(counter, i) + 1)
                                : kInvalidValue);
  }
  return out;
}

// Per-bar window of HOD/LOD: bars max(g, trunc32(i - n[i] + 1.0)) to i-1, g
// being the first bar where both x and n are valid.
template <typename Side>
std::vector<double> RankInPerBarWindow(const std::vector<double>& x, const std::vector<double>& n) {
  const size_t len = MinLength(x, n);
  const size_t g = FirstValidBarOfBoth(x, n);
  std::vector<double> out;
  out.reserve(len);
  for (size_t i = 0; i < len; ++i) {
    if (!IsValid(x[i]) || !IsValid(n[i])) {
      out.push_back(kInvalidValue);
      continue;
    }
    const int64_t from = WindowStartFrom(g, i, n[i]);
    const bool empty = from >= static_cast<int64_t>(i);
    out.push_back(empty ? 1.0 : RankByScan<Side>(x, static_cast<size_t>(from), i));
  }
  return out;
}

// TOPRANGE/LOWRANGE: the number of bars walked back from i-1 while the
// values stay within x[i] (not beyond it on the other side: <= x[i] for the
// high side), or i when the walk reaches bar 0. A stack of the bars that
// could still stop a later walk gives each answer in amortised O(1): a bar
// within x[i] can stop no later walk that x[i] itself would not stop first.
template <typename Side>
std::vector<double> ExtremeRange(const std::vector<double>& x) {
  auto within = [](double value, double current) {
    return !Side::Beyond(value, current) && !std::isnan(value) && !std::isnan(current);
  };
  std::vector<double> out;
  out.reserve(x.size());
  std::vector<size_t> stoppers;
  stoppers.reserve(x.size());
  for (size_t i = 0; i < x.size(); ++i) {
    while (!stoppers.empty() && within(x[stoppers.back()], x[i])) stoppers.pop_back();
    if (!IsValid(x[i])) {
      out.push_back(kInvalidValue);
    } else {
      // With no stopper the walk passes bar 0: i bars.
      out.push_back(stoppers.empty() ? static_cast<double>(i)
                                     : static_cast<double>(i - 1 - stoppers.back()));
    }
    stoppers.push_back(i);
  }
  return out;
}
