#pragma once

// Incremental evaluation: what an evaluator keeps of each node between runs,
// the first bar at which a recomputed value differs from the kept one, and
// the checkpoint through which a function continues its kept output from the
// first changed bar (the functions' own Resume, see strategy/util/strategy.h).

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "compiler/data_ext.h"

class AstNode;
struct FunctionInfo;

// "No bar changed".
constexpr size_t kUnchanged = std::numeric_limits<size_t>::max();

// "Every bar": what a reader needs of a value it reads in full.
constexpr size_t kAllBars = std::numeric_limits<size_t>::max();

// The values of a series as its readers see them: bar i, for base() <= i <
// size(), at (*this)[i]. The bars before base() were let go after the last
// reader of the run that computed them.
class SeriesView {
 public:
  SeriesView(const double* data, size_t base, size_t size, size_t valid_dropped)
      : m_data(data), m_base(base), m_size(size), m_valid_dropped(valid_dropped) {}

  size_t size() const { return m_size; }
  size_t base() const { return m_base; }
  const double& operator[](size_t bar) const { return m_data[bar - m_base]; }
  const double* at(size_t bar) const { return m_data + (bar - m_base); }
  // The first bar with a valid value (size() when none).
  size_t FirstValid() const;

 private:
  const double* m_data;
  size_t m_base;
  size_t m_size;
  size_t m_valid_dropped;
};

// What one node of a formula keeps between runs.
struct NodeState {
  const AstNode* node = nullptr;  // the syntax tree node it belongs to (none for columns)
  // A series holds the bars [base, base + value.m_raw_data.size()).
  DataExt value;
  size_t base = 0;
  // A bar column, read in place (market data) instead of `value`.
  const std::vector<double>* column = nullptr;
  // First bar whose value may differ from the previous run's; kUnchanged
  // when none does (a change of length counts from the shorter length).
  size_t changed = 0;
  bool kept = false;        // value holds an earlier run's result
  bool causal = true;       // a change at bar s changes no bar before s
  bool whole = false;       // computed in full: keeps every bar
  unsigned long run = 0;    // the run that last computed it
  const FunctionInfo* function = nullptr;  // of a call node, looked up once
  // Trailing bars the readers of this run will read again on the next run
  // (kAllBars: every bar); the rest goes once the last of them has read.
  size_t need = 0;
  size_t valid_dropped = kUnchanged;  // the first valid bar, when before base
  size_t length = 0;                  // of `column` at the last run
  // A resumable function's accumulator after bars [0, resume_at).
  size_t resume_at = 0;
  double acc = 0.0;
  bool seeded = false;
  size_t first_valid = 0;

  bool IsSeries() const { return column != nullptr || value.isListType(); }
  size_t Size() const { return column ? column->size() : base + value.m_raw_data.size(); }
  SeriesView Series() const;
  // The value as a whole (a copy); only when nothing was let go.
  DataExt Whole() const;
  // Resizes a series to bars [base, size).
  void Resize(size_t size) { value.m_raw_data.resize(size - base); }
  double& At(size_t bar) { return value.m_raw_data[bar - base]; }
  // Starts the series again from bar 0; the caller writes every bar anew
  // (the buffer is kept, with whatever it holds, to save zeroing it).
  void Restart() {
    base = 0;
    valid_dropped = kUnchanged;
  }
  // Lets go of all but the last bars the readers need (at least two); the
  // buffer that held them goes to `spare` when given.
  void Trim(std::vector<std::vector<double>>* spare = nullptr);
};

// Argument i of a call as a series, or as a single number (none when absent
// or of another kind).
const NodeState* SeriesArg(const std::vector<const NodeState*>& args, size_t i);
std::optional<double> NumberArg(const std::vector<const NodeState*>& args, size_t i);

// How many trailing bars a window of n bars reads back, plus the bar before
// (kAllBars for a period that is not a usable count).
size_t WindowNeed(double n);
// WindowNeed of argument i, a constant period (kAllBars when it is not a number).
size_t WindowNeedOf(const std::vector<const NodeState*>& args, size_t i);

// Where a resumable loop over the bars of x starts: at the state's
// checkpoint when it lies in the unchanged bars (before `from`), was taken on
// the same first valid bar and the `back` bars before it are still held;
// else at 0 (the state emptied) when every bar of x is held. kUnchanged when
// neither is possible.
size_t ResumePoint(NodeState& state, const SeriesView& x, size_t from, size_t first_valid,
                   size_t back);

// Runs a function's loop over bars [0, length) of `state`'s series from its
// checkpoint (see ResumePoint) and takes the new checkpoint before the last
// bar, which the next tick may replace. `loop(begin, end, carry, put)` runs
// bars [begin, end) carrying `carry` (the loop's state after bar begin - 1;
// zero at bar 0) and writes bar i with put(i, value): the same loop a full
// run calls from 0. Returns false when no bar to start from is held.
struct Carry {
  double acc = 0.0;
  bool seeded = false;
};
template <typename Loop>
bool ResumeLoop(NodeState& state, const SeriesView& x, size_t length, size_t from,
                size_t first_valid, size_t back, Loop loop) {
  const size_t begin = ResumePoint(state, x, from, first_valid, back);
  if (begin == kUnchanged) return false;
  Carry carry;
  if (begin > 0) carry = Carry{state.acc, state.seeded};
  state.Resize(length);
  state.first_valid = first_valid;
  auto put = [&state](size_t bar, double value) { state.At(bar) = value; };
  if (length == 0) {
    state.resume_at = 0;
    state.acc = 0.0;
    state.seeded = false;
  } else if (begin < length) {
    loop(begin, length - 1, carry, put);
    state.resume_at = length - 1;
    state.acc = carry.acc;
    state.seeded = carry.seeded;
    loop(length - 1, length, carry, put);
  }
  return true;
}

// The first bar at which the held bars of `before` and the same bars of
// `after` differ, or the first bar of a change of length (kUnchanged when
// none).
size_t FirstHeldDifference(const NodeState& before, const std::vector<double>& after);

// The first bar at which two values differ (kUnchanged when they are equal):
// series and drawings bar by bar (bitwise), anything else as a whole (0).
size_t FirstDifference(const DataExt& before, const DataExt& after);
