#pragma once

#include <map>
#include <memory>
#include <string>

#include "compiler/ast_node.h"
#include "compiler/exception.h"

class Table;

// Checks a parsed tree before it may run, in three passes over the whole
// formula, each finished before the next begins:
//   1. every statement is an assignment or a call (and collects the names
//      assigned),
//   2. every variable used is assigned somewhere in the formula,
//   3. every call has an argument count that the function table allows.
// The first failure is thrown as an Exception; the tree is never changed.
// The passes walk the tree with an explicit stack, so a long operator chain
// costs heap, not call stack.
class ParseWalker {
 public:
  ParseWalker();

  bool Walker(std::shared_ptr<AstNode> root);

  void LookupStatement(std::shared_ptr<AstNode> root);
  void LookupVariale(std::shared_ptr<AstNode> root);
  void LookupFunction(std::shared_ptr<AstNode> root);

  [[noreturn]] void ThrowException(const std::shared_ptr<AstNode>& node,
                                   const ErrorType& type) const;

 private:
  // Calls `visit` on every node below `root` in text order (a node before
  // its children, children left to right).
  template <typename Visit>
  static void VisitBelow(const AstNode& root, Visit visit);

  bool CountAccepted(const AstNode& call) const;

  std::map<std::string, bool> m_declared;
  const Table* m_table;
};
