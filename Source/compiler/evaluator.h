#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/bar_data.h"
#include "compiler/data_ext.h"
#include "compiler/environment.h"
#include "compiler/result.h"

class Table;

// Runs a checked syntax tree over the bar rows of one run: statements in
// text order, operators evaluated here, function calls handed to the
// strategy that the factory names.
class Evaluator {
 public:
  Evaluator();

  // One run. The rows are shared, not copied; variables start empty.
  Result Evaluate(const std::shared_ptr<AstNode>& root, std::shared_ptr<const BarData> rows);
  Result Evaluate(const std::shared_ptr<AstNode>& root,
                  const std::vector<std::map<std::string, std::string>>& rows);

  // The value of one expression node.
  DataExt Evaluate(const std::shared_ptr<AstNode>& node);
  DataExt Call(const std::string& name, const std::shared_ptr<AstNode>& node);
  DataExt Static(const std::shared_ptr<AstNode>& node);
  DataExt Add(const std::shared_ptr<AstNode>& node);
  DataExt Mul(const std::shared_ptr<AstNode>& node);
  DataExt Equal(const std::shared_ptr<AstNode>& node);
  DataExt And(const std::shared_ptr<AstNode>& node);
  DataExt Or(const std::shared_ptr<AstNode>& node);
  DataExt Rel(const std::shared_ptr<AstNode>& node);

  const Table* m_table;
  Environment m_env;

 private:
  // A left-deep chain of operators (1+1+...+1) is walked with a loop, so its
  // length does not touch the stack.
  DataExt EvaluateOperatorChain(const AstNode* node);
  DataExt Combine(const AstNode& op, const DataExt& left, const DataExt& right) const;
};
