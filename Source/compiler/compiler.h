#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/bar_data.h"
#include "compiler/evaluator.h"

// The one object through which a formula is compiled and run. Every error
// of the front end and the runtime is caught here and returned as the error
// report text.
class Compiler {
 public:
  explicit Compiler(std::string text);

  // Empty on success, else the error report.
  std::string Compile();
  // Replaces the rows by a converted copy of text rows.
  void Data(const std::vector<std::map<std::string, std::string>>& rows);
  // Shares rows that the caller keeps up to date (the addon's row list).
  void Data(std::shared_ptr<const BarData> rows);
  void Period(unsigned long period);
  // The output JSON, or the error report.
  std::string Run();

  bool m_debug = false;  // dumps tokens and tree to standard output

 private:
  // The output text of the last run, kept so that a run after a tick formats
  // only the values of the changed bars: per output, the values' text
  // (numbers joined by commas) and how many values it holds.
  struct OutputText {
    std::string values;
    size_t count = 0;
  };
  std::string OutputJson();

  std::vector<OutputText> m_texts;
  std::shared_ptr<const BarData> m_bars;
  std::string m_text;
  std::shared_ptr<AstNode> m_tree;
  std::unique_ptr<Evaluator> m_evaluator;
};
