#pragma once

// Incremental evaluation: what an evaluator keeps of each node between runs,
// and the functions that can continue their previous output from the first
// bar whose inputs changed instead of recomputing every bar.

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "compiler/data_ext.h"

class AstNode;

// "No bar changed".
constexpr size_t kUnchanged = std::numeric_limits<size_t>::max();

// How a change of an input at bar s spreads through a function.
enum class Spread {
  kFull,         // anything may change: recompute all, then find the first difference
  kMarket,       // a column of the bars: changes where the bars changed
  kElementwise,  // bar i reads bar i of its arguments only
  kEma,          // recursive averages: continue from the kept average
  kSma,
  kMa,           // running window sums: continue from the kept sum
  kSum,
  kStd,
  kRef,          // a fixed look-back
  kHhv,          // window extremes
  kLlv,
};

// The rule of a built-in function (kFull for every function not listed).
Spread SpreadOf(const std::string& name);

// Whether a change of the bars at bar s leaves the function's result before
// bar s as it was (the registry's kFromBar).
bool Causal(const std::string& name);

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
  double operator[](size_t bar) const { return m_data[bar - m_base]; }
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
  int spread = -1;          // Spread of a call node, looked up once
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
  // Starts the series again from bar 0, empty.
  void Restart() {
    value.m_raw_data.clear();
    base = 0;
    valid_dropped = kUnchanged;
  }
  // Lets go of all but the last bars the readers need (at least two).
  void Trim();
};

// Continues `state`'s series (the function's previous output, kept when
// `from` is above 0) from bar `from` on, for the arguments `args` over
// `bar_count` bars. Returns false, leaving the state untouched, when the
// function has no incremental path for these arguments or needs bars that
// were let go; the caller then runs it in full.
bool ContinueCall(Spread spread, const std::vector<const NodeState*>& args, size_t bar_count,
                  size_t from, NodeState& state);

// How many trailing bars of its arguments the function reads again when it
// continues on the next run (kAllBars when it runs in full).
size_t Lookback(Spread spread, const std::vector<const NodeState*>& args);

// The first bar at which the held bars of `before` and the same bars of
// `after` differ, or the first bar of a change of length (kUnchanged when
// none).
size_t FirstHeldDifference(const NodeState& before, const std::vector<double>& after);

// The first bar at which two values differ (kUnchanged when they are equal):
// series and drawings bar by bar (bitwise), anything else as a whole (0).
size_t FirstDifference(const DataExt& before, const DataExt& after);
