#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Bar indices of a sliding window, kept so that the front is the index of the
// window's extreme. `Evicts(back_value, incoming_value)` says when an incoming
// value removes the newest entry: "back < incoming" for a maximum where the
// oldest of equal values wins, "back >= incoming" for a minimum where the
// newest wins. Every index is pushed and dropped at most once, so a pass over
// n bars costs O(n) whatever the window length.
//
// The entries live in a ring whose size is fixed at construction: callers
// that drop expired indices before each push never hold more than the window
// length. Should a caller push more, the oldest entry is overwritten rather
// than memory outside the ring.
template <typename Evicts>
class MonotonicQueue {
 public:
  // `capacity`: the longest window the caller will keep (at least 1).
  MonotonicQueue(const std::vector<double>& values, size_t capacity, Evicts evicts = Evicts())
      : values_(values), evicts_(evicts) {
    size_t size = 1;
    while (size < capacity && size < (static_cast<size_t>(1) << 62)) size <<= 1;
    slots_.resize(size);
    mask_ = size - 1;
  }

  bool Empty() const { return head_ == tail_; }
  size_t Size() const { return tail_ - head_; }
  // Index of the window's extreme; only meaningful when not Empty().
  size_t Front() const { return slots_[head_ & mask_]; }

  // Drops from the front every index below `first_kept`.
  void ExpireBefore(size_t first_kept) {
    while (!Empty() && slots_[head_ & mask_] < first_kept) ++head_;
  }

  void Push(size_t index) {
    const double incoming = values_[index];
    while (!Empty() && evicts_(values_[slots_[(tail_ - 1) & mask_]], incoming)) --tail_;
    if (Size() == slots_.size()) ++head_;
    slots_[tail_ & mask_] = index;
    ++tail_;
  }

 private:
  const std::vector<double>& values_;
  Evicts evicts_;
  std::vector<size_t> slots_;
  size_t mask_ = 0;
  size_t head_ = 0;  // counters only grow; the mask maps them onto the ring
  size_t tail_ = 0;
};

// The same order kept over every bar pushed so far, without expiry: answers
// "index of the extreme of bars [start, newest]" for any start by a binary
// search, which serves windows whose length changes from bar to bar. With
// Evicts = "back < incoming" the answer is the oldest index of the maximum.
// Values that compare false with everything (NaN) break the order and must
// not be pushed.
template <typename Evicts>
class MonotonicStack {
 public:
  explicit MonotonicStack(const std::vector<double>& values, Evicts evicts = Evicts())
      : values_(values), evicts_(evicts) {
    entries_.reserve(values.size());
  }

  void Push(size_t index) {
    const double incoming = values_[index];
    while (!entries_.empty() && evicts_(values_[entries_.back()], incoming)) entries_.pop_back();
    entries_.push_back(index);
  }

  // Index of the extreme among the pushed indices >= start, or `none` when
  // there is no such index.
  size_t ExtremeFrom(size_t start, size_t none) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), start);
    return it == entries_.end() ? none : *it;
  }

 private:
  const std::vector<double>& values_;
  Evicts evicts_;
  std::vector<size_t> entries_;
};

// Eviction rules of the queue and the stack.
struct EvictSmaller {  // maximum; the oldest of equal values stays in front
  bool operator()(double back, double incoming) const { return back < incoming; }
};
struct EvictGreater {  // minimum; the oldest of equal values stays in front
  bool operator()(double back, double incoming) const { return back > incoming; }
};
struct EvictGreaterOrEqual {  // minimum; the newest of equal values moves to the front
  bool operator()(double back, double incoming) const { return back >= incoming; }
};
