#pragma once

#include <napi.h>

#include <memory>
#include <string>

#include "compiler/ast_node.h"
#include "compiler/bar_data.h"
#include "compiler/evaluator.h"
#include "compiler/exception.h"
#include "external_memory.h"

class RunWorker;

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
//   core.runAsync(period)     a Promise of run()'s answer, or of { cancelled:
//                             true }; the run goes on the thread pool and the
//                             answer is built on this thread when it is done
//   core.cancel()             asks the run in flight to stop
//   core.dispose()            frees the formula and its bars now
// While a runAsync is in flight, load, run, runTail, runAsync and dispose
// throw an Error with code ERR_FORMULA_BUSY: the bars, the tree and the kept
// values belong to the pool thread until the run is done.
class FormulaCore : public Napi::ObjectWrap<FormulaCore> {
 public:
  static void Init(Napi::Env env, Napi::Object exports);

  explicit FormulaCore(const Napi::CallbackInfo& info);

 private:
  friend class RunWorker;

  Napi::Value RunAsync(const Napi::CallbackInfo& info);
  Napi::Value Cancel(const Napi::CallbackInfo& info);
  Napi::Value Dispose(const Napi::CallbackInfo& info);
  // Throws the busy Error while a runAsync is in flight.
  void RefuseWhileRunning(Napi::Env env, const char* method) const;
  // Checks that the formula compiled and takes the period for the next run.
  void PrepareRun(const Napi::CallbackInfo& info, const char* method);
  // The answer of the evaluator's last run: { outputs }, or { from, outputs }.
  // The evaluator's run for run() (every bar, computed afresh) or runTail()
  // (the changed bars); touches no JavaScript value, so that runAsync's
  // thread can make it.
  void Evaluate(bool tail);
  size_t TailStart() const;
  // The answer of the last run, from TailStart() on when `tail`.
  Napi::Object Answer(Napi::Env env, bool tail);
  // Tells the engine the bytes of the text, tree, bars and kept values.
  void ReportMemory();

  Napi::Value Error(const Napi::CallbackInfo& info);
  Napi::Value Load(const Napi::CallbackInfo& info);
  Napi::Value Length(const Napi::CallbackInfo& info);
  Napi::Value TimeAt(const Napi::CallbackInfo& info);
  Napi::Value Run(const Napi::CallbackInfo& info);
  Napi::Value RunTail(const Napi::CallbackInfo& info);
  Napi::Value RunFrom(const Napi::CallbackInfo& info, const char* method, bool tail);

  ExternalMemory m_memory;
  size_t m_text_bytes = 0;
  RunWorker* m_running = nullptr;  // the runAsync in flight
  BarData m_bars;  // read in place by the evaluator's runs
  std::shared_ptr<AstNode> m_tree;
  std::unique_ptr<Evaluator> m_evaluator;  // null when the formula did not compile or is disposed
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
