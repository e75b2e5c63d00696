#pragma once

#include <napi.h>

#include <memory>
#include <string>

#include "compiler/ast_node.h"
#include "compiler/bar_data.h"
#include "compiler/evaluator.h"

// The native half of the typed JavaScript API (lib/formula.js wraps it):
// one compiled formula, its bars in columns, and a run that builds its
// outputs as JavaScript objects directly (Float64Array values at full
// precision, drawings as sparse item lists), without any JSON text.
//
// JavaScript:
//   new FormulaCore(text)     compiles; never throws for a bad formula
//   core.error                null, or { code, line, column, token, report }
//   core.load(mode, t, o, h, l, c, v, timeGaps)
//                             mode 0 set, 1 append, 2 prepend, 3 replace last;
//                             columns are Float64Arrays of equal length, t
//                             and v may be null (no times, volume 0); with
//                             timeGaps NaN in t marks a bar without time.
//                             Checks the bars (finite values, times that
//                             never go back, also against the held ones)
//                             and copies them in; returns the new length, or
//                             { field, index, problem, last } for the first
//                             bar refused (problem "finite", "backwards"
//                             after the time `last`, or "later" than the
//                             first held bar), leaving the bars as they were
//   core.length               bars held
//   core.timeAt(i)            the time of bar i, or null
//   core.run(period)          { outputs } or { error }
//   core.runTail(period)      { from, outputs } with the values and drawing
//                             items of the bars from `from` on: the first bar
//                             that changed since the previous run
class FormulaCore : public Napi::ObjectWrap<FormulaCore> {
 public:
  static void Init(Napi::Env env, Napi::Object exports);

  explicit FormulaCore(const Napi::CallbackInfo& info);

 private:
  Napi::Value Error(const Napi::CallbackInfo& info);
  Napi::Value Load(const Napi::CallbackInfo& info);
  Napi::Value Length(const Napi::CallbackInfo& info);
  Napi::Value TimeAt(const Napi::CallbackInfo& info);
  Napi::Value Run(const Napi::CallbackInfo& info);
  Napi::Value RunTail(const Napi::CallbackInfo& info);
  Napi::Value RunFrom(const Napi::CallbackInfo& info, const char* method, bool tail);

  BarData m_bars;  // read in place by the evaluator's runs
  std::shared_ptr<AstNode> m_tree;
  std::unique_ptr<Evaluator> m_evaluator;  // null when the formula did not compile
  // The compile error, when there is one.
  int m_error_code = 0;
  unsigned long m_error_line = 0;
  unsigned long m_error_column = 0;
  std::string m_error_token;
  std::string m_error_report;
};

// functionTable(): every built-in name of the language (from the function
// registry) with all names of its function (aliases), its allowed argument
// counts and whether it draws, plus the static and property names:
// { functions: [{ name, names, counts, draw }], statics: [...], properties: [...] }.
// A count of -1 means "any odd count from 3 upwards".
Napi::Value FunctionTable(const Napi::CallbackInfo& info);
