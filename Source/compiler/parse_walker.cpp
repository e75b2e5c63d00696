#include "compiler/parse_walker.h"

#include <utility>
#include <vector>

#include "compiler/common.h"

ParseWalker::ParseWalker() : m_table(Table::Instance()) {}

bool ParseWalker::Walker(std::shared_ptr<AstNode> root) {
  if (!root) return true;
  LookupStatement(root);
  LookupVariale(root);
  LookupFunction(root);
  return true;
}

void ParseWalker::ThrowException(const std::shared_ptr<AstNode>& node,
                                 const ErrorType& type) const {
  Exception::ThrowException(node->m_position.line, node->m_position.column, node->m_text, type);
}

template <typename Visit>
void ParseWalker::VisitBelow(const AstNode& root, Visit visit) {
  std::vector<const std::shared_ptr<AstNode>*> pending;
  for (auto it = root.m_children.rbegin(); it != root.m_children.rend(); ++it) {
    pending.push_back(&*it);
  }
  while (!pending.empty()) {
    const std::shared_ptr<AstNode>& node = *pending.back();
    pending.pop_back();
    visit(node);
    for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
      pending.push_back(&*it);
    }
  }
}

void ParseWalker::LookupStatement(std::shared_ptr<AstNode> root) {
  for (const auto& statement : root->m_children) {
    if (statement->m_children.empty()) ThrowException(statement, ERR_ILLEGAL_STATEMENT);
    const auto& first = statement->m_children.front();
    // A statement whose expression the parser dropped (A; or A=1;) starts
    // with its Property node and is refused here.
    if (first->m_type == AstNode::Fun) continue;
    if (first->m_type != AstNode::Assignment && first->m_type != AstNode::ReturnAssign) {
      ThrowException(first, ERR_ILLEGAL_STATEMENT);
    }
    auto target = first->ChildAtIndex(0);
    if (!target || target->m_type != AstNode::Identifier || first->m_children.size() != 2) {
      ThrowException(first, ERR_ILLEGAL_STATEMENT);
    }
    m_declared[target->m_text] = true;
  }
}

void ParseWalker::LookupVariale(std::shared_ptr<AstNode> root) {
  VisitBelow(*root, [this](const std::shared_ptr<AstNode>& node) {
    if (node->m_type == AstNode::Identifier && m_declared.count(node->m_text) == 0) {
      ThrowException(node, ERR_VARIABLE_NOT_DECLARED);
    }
  });
}

void ParseWalker::LookupFunction(std::shared_ptr<AstNode> root) {
  VisitBelow(*root, [this](const std::shared_ptr<AstNode>& node) {
    if (node->m_type == AstNode::Fun && !CountAccepted(*node)) {
      ThrowException(node, ERR_PARAM_COUNT_MISMATCH);
    }
  });
}

bool ParseWalker::CountAccepted(const AstNode& call) const {
  const size_t n = call.m_children.size();
  for (int allowed : m_table->FunctionParamsCount(call.m_text)) {
    if (allowed == Table::kOddCountFromThree) return n >= 2 && n % 2 == 1;
    if (allowed >= 0 && static_cast<size_t>(allowed) == n) return true;
  }
  return false;
}
