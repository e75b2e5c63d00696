#pragma once

#include <memory>
#include <string>
#include <vector>

#include "compiler/line_extra_info.h"

// The one node type of the syntax tree. Operator nodes keep the operator's
// text so that one node type serves several operators.
class AstNode {
 public:
  enum Type : int {
    Root = 0,
    Statement = 1,
    Property = 2,
    Identifier = 3,
    Digit = 4,
    String = 5,
    Static = 6,
    PropertyLiteral = 7,
    Assignment = 8,
    ReturnAssign = 9,
    Or = 10,
    And = 11,
    Equal = 12,
    Rel = 13,
    Add = 14,
    Mul = 15,
    Fun = 16,
  };

  AstNode(Type type, const std::string& text);
  // Tears the subtree down without recursion, so that a chain of a hundred
  // thousand operators cannot exhaust the stack.
  ~AstNode();
  AstNode(const AstNode&) = delete;
  AstNode& operator=(const AstNode&) = delete;

  static std::shared_ptr<AstNode> Create(const Type& type, const std::string& text);

  void AddChild(std::shared_ptr<AstNode> child);  // null is ignored
  std::shared_ptr<AstNode> ChildAtIndex(int index) const;  // null when absent

  // Debug print of the subtree to standard output.
  void Print(int depth, int index) const;
  void Dump() const;

  LineInfo m_position;
  Type m_type;
  std::string m_text;
  std::vector<std::shared_ptr<AstNode>> m_children;
};

// The type's name ("Root", "Fun", ...), or the empty string for other values.
std::string Format(AstNode::Type type);
