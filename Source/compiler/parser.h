#pragma once

#include <initializer_list>
#include <memory>

#include "compiler/ast_node.h"
#include "compiler/exception.h"
#include "compiler/token_reader.h"

// Recursive descent from tokens to the syntax tree, one rule per precedence
// level (lowest first):
//   Or    | || OR
//   And   & && AND
//   Equal = != <>
//   Rel   > >= < <=
//   Add   + -
//   Mul   * /
// All binary levels are left-associative and loop over their operators, so a
// long flat chain costs no stack. Throws Exception on the first syntax error.
class Parser {
 public:
  // Parenthesised groups and function calls with an argument list may nest
  // this many levels deep along one path. One more is refused as an illegal
  // expression, so that deep nesting cannot exhaust the stack.
  static constexpr int kMaxNestingDepth = 256;

  static std::shared_ptr<AstNode> Analyze(TokenReader& reader);

  // Raises `type` at the token at the cursor, or at the last token when the
  // text has ended.
  [[noreturn]] static void ThrowException(TokenReader& reader, const ErrorType& type);

 private:
  using Rule = std::shared_ptr<AstNode> (Parser::*)();

  explicit Parser(TokenReader& reader) : m_reader(reader) {}

  std::shared_ptr<AstNode> DeclarationExpress();
  std::shared_ptr<AstNode> AssignmentExpress();
  std::shared_ptr<AstNode> FunctionExpress();
  std::shared_ptr<AstNode> OrExpress();
  std::shared_ptr<AstNode> AndExpress();
  std::shared_ptr<AstNode> EqualExpress();
  std::shared_ptr<AstNode> RelExpress();
  std::shared_ptr<AstNode> AddExpress();
  std::shared_ptr<AstNode> MulExpress();
  std::shared_ptr<AstNode> PriExpress();

  // One left-associative binary level: operands from `operand`, joined by
  // any of `operators` into nodes of `type`.
  std::shared_ptr<AstNode> BinaryLevel(Rule operand, AstNode::Type type,
                                       std::initializer_list<Token::State> operators);
  // Opens one nesting level, refusing it at the cursor's token when the
  // limit is passed.
  void EnterLevel();
  bool NextIs(Token::State state) const { return m_reader.Peek().m_state == state; }

  TokenReader& m_reader;
  int m_depth = 0;
};
