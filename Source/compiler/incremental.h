#pragma once

// Incremental evaluation: what an evaluator keeps of each node between runs,
// and the functions that can continue their previous output from the first
// bar whose inputs changed instead of recomputing every bar.

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

#include "compiler/data_ext.h"

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

// What one node of a formula keeps between runs.
struct NodeState {
  DataExt value;
  // First bar whose value may differ from the previous run's; kUnchanged
  // when none does (a change of length counts from the shorter length).
  size_t changed = 0;
  bool kept = false;        // value holds an earlier run's result
  unsigned long run = 0;    // the run that last computed it
  int spread = -1;          // Spread of a call node, looked up once
  // A resumable function's accumulator after bars [0, resume_at).
  size_t resume_at = 0;
  double acc = 0.0;
  bool seeded = false;
  size_t first_valid = 0;
};

// Continues `state.value` (the function's previous output, kept when `from`
// is above 0) from bar `from` on, for the arguments `args` over `bar_count`
// bars. Returns false, leaving the state untouched, when the function has no
// incremental path for these arguments; the caller then runs it in full.
bool ContinueCall(Spread spread, const std::vector<const DataExt*>& args, size_t bar_count,
                  size_t from, NodeState& state);

// The first bar at which two values differ (kUnchanged when they are equal):
// series and drawings bar by bar (bitwise), anything else as a whole (0).
size_t FirstDifference(const DataExt& before, const DataExt& after);
