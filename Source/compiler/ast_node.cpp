#include "compiler/ast_node.h"

#include <iostream>

namespace {

const char* const kTypeNames[] = {
    "Root", "Statement", "Property", "Identifier", "Digit", "String",
    "Static", "PropertyLiteral", "Assignment", "ReturnAssign", "Or", "And",
    "Equal", "Rel", "Add", "Mul", "Fun"};

}  // namespace

AstNode::AstNode(Type type, const std::string& text) : m_type(type), m_text(text) {}

AstNode::~AstNode() {
  std::vector<std::shared_ptr<AstNode>> pending = std::move(m_children);
  while (!pending.empty()) {
    std::shared_ptr<AstNode> node = std::move(pending.back());
    pending.pop_back();
    if (node && node.use_count() == 1) {
      for (auto& child : node->m_children) pending.push_back(std::move(child));
      node->m_children.clear();
    }
  }
}

std::shared_ptr<AstNode> AstNode::Create(const Type& type, const std::string& text) {
  return std::make_shared<AstNode>(type, text);
}

void AstNode::AddChild(std::shared_ptr<AstNode> child) {
  if (child) m_children.push_back(std::move(child));
}

std::shared_ptr<AstNode> AstNode::ChildAtIndex(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= m_children.size()) return nullptr;
  return m_children[static_cast<size_t>(index)];
}

void AstNode::Print(int depth, int index) const {
  // An explicit stack keeps a long operator chain off the call stack.
  struct Pending {
    const AstNode* node;
    int depth;
    int index;
  };
  std::vector<Pending> pending{{this, depth, index}};
  while (!pending.empty()) {
    Pending item = pending.back();
    pending.pop_back();
    if (item.depth == 0) std::cout << std::endl;
    for (int i = 0; i < item.depth; ++i) std::cout << '\t';
    if (item.depth == 1) std::cout << "[" << item.index << "] ";
    std::cout << Format(item.node->m_type) << " : " << item.node->m_text << std::endl;
    const auto& children = item.node->m_children;
    for (size_t i = children.size(); i-- > 0;) {
      pending.push_back({children[i].get(), item.depth + 1, static_cast<int>(i)});
    }
  }
}

void AstNode::Dump() const { Print(0, 0); }

std::string Format(AstNode::Type type) {
  int value = static_cast<int>(type);
  if (value < 0 || value > 16) return std::string();
  return kTypeNames[value];
}
