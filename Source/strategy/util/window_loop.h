#pragma once

// The per-bar loops of the functions that start at the first valid bar,
// written once: the lead-in (bars before the first valid value stay
// invalid), the window of a constant count that slides over running totals,
// and the window of a per-bar period. A function supplies only what happens
// at one bar; the loops inline it, so they cost what a hand-written loop
// costs. A resumed run drives the same loops from a checkpoint.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "compiler/incremental.h"
#include "strategy/util/strategy_util.h"
#include "util/cancel.h"

// `length` values: value(i) for every bar i from `first` on, the invalid
// value before it. value(i) is called once per bar, in order, so it may keep
// state from one bar to the next.
template <typename Value>
std::vector<double> FromFirstValid(size_t length, size_t first, Value value) {
  std::vector<double> out;
  out.reserve(length);
  out.assign(first < length ? first : length, kInvalidValue);
  for (size_t i = first; i < length; ++i) out.push_back(value(i));
  return out;
}

// A window of the last n bars counted from the first valid bar f, over bars
// [begin, end): bars before f give the invalid value; at every bar i from f
// on, enter(i) takes bar i in and, once i >= f + n, leave(i - n) lets the bar
// n back go; bars before `first_output` then give the invalid value and the
// others value(i). Bar i's result goes to put(i, value). A full run is begin
// 0 with fresh totals; a resumed run starts later with the totals it kept.
template <typename Enter, typename Leave, typename Value, typename Put>
void SlideBars(size_t begin, size_t end, size_t f, uint64_t n, uint64_t first_output, Enter enter,
               Leave leave, Value value, Put put) {
  const uint64_t first_leave = AddCount(f, n);
  for (size_t i = begin; i < end; ++i) {
    if (i < f) {
      put(i, kInvalidValue);
      continue;
    }
    enter(i);
    if (i >= first_leave) leave(static_cast<size_t>(i - n));
    put(i, i < first_output ? kInvalidValue : value(i));
  }
}

// The resume of a function whose loop runs over every bar of argument 0, a
// series, from its first valid bar f: ResumeLoop with
// loop(x, f, begin, end, carry, put) as its loop, `back` the bars before the
// checkpoint that the loop reads again. False when argument 0 is no series.
template <typename Loop>
bool ResumeOverSeries(const std::vector<const NodeState*>& args, size_t from, NodeState& state,
                      size_t back, Loop loop) {
  const NodeState* arg = SeriesArg(args, 0);
  if (!arg) return false;
  const SeriesView x = arg->Series();
  const size_t f = x.FirstValid();
  return ResumeLoop(state, x, x.size(), from, f, back,
                    [&](size_t begin, size_t end, Carry& carry, auto put) {
                      loop(x, f, begin, end, carry, put);
                    });
}

// SlideBars over all `length` bars, as a new series.
template <typename Enter, typename Leave, typename Value>
std::vector<double> SlidingWindows(size_t length, size_t f, uint64_t n, uint64_t first_output,
                                   Enter enter, Leave leave, Value value) {
  std::vector<double> out(length);
  SlideBars(0, length, f, n, first_output, enter, leave, value,
            [&out](size_t i, double v) { out[i] = v; });
  return out;
}

// The first bar whose window of n bars from f is full: f + n - 1,
// saturating; f itself when n is 0 (an empty window).
inline uint64_t FirstFullWindow(size_t f, uint64_t n) { return n == 0 ? f : AddCount(f, n - 1); }

// A window whose start moves from bar to bar: from the first valid bar f
// on, a bar where skip(i) holds is invalid; otherwise the window runs from
// start_of(i) to i and gives at(i, start, count), count being its length as
// a double, or `empty_window` when it starts after i. A cancelled run stops
// here, the work of a window counted as its length.
template <typename Skip, typename StartOf, typename At>
std::vector<double> MovingWindows(size_t length, size_t f, double empty_window, Skip skip,
                                  StartOf start_of, At at) {
  CancelPoll poll;
  return FromFirstValid(length, f, [&](size_t i) {
    if (skip(i)) return kInvalidValue;
    const int64_t start = start_of(i);
    if (start > static_cast<int64_t>(i)) return empty_window;
    const size_t begin = static_cast<size_t>(start);
    poll.Step(i - begin + 1);
    return at(i, begin, static_cast<double>(i - begin + 1));
  });
}

// The window of a per-bar period n[i]: bars max(f, trunc32(i - n[i] + 1)) to
// i (WindowStartFrom); a period below 1 leaves it empty.
template <typename Skip, typename At>
std::vector<double> PerBarWindows(size_t length, size_t f, const std::vector<double>& n,
                                  double empty_window, Skip skip, At at) {
  return MovingWindows(
      length, f, empty_window, skip, [f, &n](size_t i) { return WindowStartFrom(f, i, n[i]); }, at);
}

inline bool NoSkip(size_t) { return false; }
