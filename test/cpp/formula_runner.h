#pragma once

// Runs whole formulas in tests: text and bar rows in, Result or JSON out.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compiler/bar_data.h"
#include "compiler/compiler.h"
#include "compiler/evaluator.h"
#include "compiler/lexer.h"
#include "compiler/parse_walker.h"
#include "compiler/parser.h"

// Rows whose only field is the close.
inline std::vector<BarRow> CloseRows(const std::vector<double>& closes) {
  std::vector<BarRow> rows(closes.size());
  for (size_t i = 0; i < closes.size(); ++i) rows[i].close = closes[i];
  return rows;
}

inline BarData Closes(const std::vector<double>& closes) { return BarData(CloseRows(closes)); }

inline std::shared_ptr<AstNode> CheckedTree(const std::string& text) {
  Lexer lexer;
  TokenReader reader = lexer.Tokenize(text);
  std::shared_ptr<AstNode> root = Parser::Analyze(reader);
  ParseWalker walker;
  walker.Walker(root);
  return root;
}

// Compiles (must succeed) and runs; returns the Result of the run.
inline Result Outputs(const std::string& text, const BarData& bars, unsigned long period = 0) {
  Evaluator evaluator(bars);
  evaluator.m_env.m_period = period;
  return evaluator.EvaluateAll(CheckedTree(text));
}
