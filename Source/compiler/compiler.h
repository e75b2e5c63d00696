#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/bar_data.h"
#include "compiler/evaluator.h"
#include "compiler/result.h"

// The one object through which a formula is compiled and run. Every error
// of the front end and the runtime is caught here and returned as the error
// report text.
class Compiler {
 public:
  explicit Compiler(std::string text);
  // The evaluator reads the bars in place: a Compiler stays where it was made.
  Compiler(const Compiler&) = delete;
  Compiler& operator=(const Compiler&) = delete;

  // Empty on success, else the error report.
  std::string Compile();
  // Replaces the bars by text rows, each field read once here.
  void Data(const std::vector<std::map<std::string, std::string>>& rows);
  // The bars, which the Compiler owns: the caller changes them in place
  // through their mutators (the addon's SetData, AppendData, ...), and each
  // run reads them where they are.
  BarData& Bars() { return m_bars; }
  void Period(unsigned long period);
  // The output JSON, or the error report.
  std::string Run();
  // The same text, whole or in pieces of an earlier run's block, which the
  // caller may keep and hand on without a copy.
  std::shared_ptr<const OutputText> RunText();

  // Texts from this size on come in pieces after a tick (see OutputWriter).
  void PiecesFrom(size_t bytes) { m_writer.pieces_from = bytes; }

  bool m_debug = false;  // dumps tokens and tree to standard output

 private:
  std::shared_ptr<const OutputText> OutputJson();

  // Keeps the last output text, so that a run after a tick formats only the
  // values of the changed bars.
  OutputWriter m_writer;
  BarData m_bars;
  std::string m_text;
  std::shared_ptr<AstNode> m_tree;
  std::unique_ptr<Evaluator> m_evaluator;
};
