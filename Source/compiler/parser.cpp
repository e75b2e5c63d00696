#include "compiler/parser.h"

#include <algorithm>

namespace {

std::shared_ptr<AstNode> NodeAt(AstNode::Type type, const Token& token) {
  auto node = AstNode::Create(type, token.m_text);
  node->m_position = token.m_position;
  return node;
}

}  // namespace

std::shared_ptr<AstNode> Parser::Analyze(TokenReader& reader) {
  auto root = AstNode::Create(AstNode::Root, "Root");
  Parser parser(reader);
  while (!reader.Peek().Empty()) root->AddChild(parser.DeclarationExpress());
  return root;
}

void Parser::ThrowException(TokenReader& reader, const ErrorType& type) {
  Token token = reader.Peek();
  if (token.Empty()) {
    reader.Unread();
    token = reader.Peek();
    reader.Read();
  }
  Exception::ThrowException(token.m_position.line, token.m_position.column, token.m_text, type);
}

void Parser::EnterLevel() {
  if (m_depth >= kMaxNestingDepth) ThrowException(m_reader, ERR_ILLEGAL_EXPRESSION);
  ++m_depth;
}

std::shared_ptr<AstNode> Parser::DeclarationExpress() {
  // Statement and Property nodes take the position of the statement's first
  // token, so that a refused statement is reported at a defined place.
  const LineInfo position = m_reader.Peek().m_position;
  auto statement = AstNode::Create(AstNode::Statement, "Statement");
  statement->m_position = position;

  switch (m_reader.Peek().m_state) {
    case Token::Identifier:
      statement->AddChild(AssignmentExpress());
      break;
    case Token::Function:
      statement->AddChild(FunctionExpress());
      break;
    default:
      ThrowException(m_reader, ERR_ILLEGAL_EXPRESSION);
  }

  auto property = AstNode::Create(AstNode::Property, "Property");
  property->m_position = position;
  statement->AddChild(property);
  while (NextIs(Token::Comma)) {
    m_reader.Read();
    property->AddChild(OrExpress());
  }

  if (!NextIs(Token::Semicolon)) ThrowException(m_reader, ERR_ILLEGAL_STATEMENT);
  m_reader.Read();
  return statement;
}

std::shared_ptr<AstNode> Parser::AssignmentExpress() {
  auto left = OrExpress();
  const Token& op = m_reader.Peek();
  if (op.m_state != Token::Colon && op.m_state != Token::Assignment) {
    // NAME; or NAME=1; is parsed but dropped; the semantic check refuses
    // the statement.
    return nullptr;
  }
  if (!left || left->m_type != AstNode::Identifier) {
    ThrowException(m_reader, ERR_ILLEGAL_STATEMENT);
  }
  auto node = NodeAt(op.m_state == Token::Assignment ? AstNode::Assignment : AstNode::ReturnAssign,
                     m_reader.Read());
  auto value = OrExpress();
  if (!value) ThrowException(m_reader, ERR_ILLEGAL_EXPRESSION);
  node->AddChild(left);
  node->AddChild(value);
  return node;
}

std::shared_ptr<AstNode> Parser::FunctionExpress() {
  const Token& name = m_reader.Read();
  auto node = NodeAt(AstNode::Fun, name);
  // Without parentheses (C, CLOSE, VOL) a function has no arguments.
  if (!NextIs(Token::LeftParen)) return node;

  m_reader.Unread();
  EnterLevel();  // refused at the function name
  m_reader.Read();
  do {
    m_reader.Read();  // the left parenthesis or a comma
    node->AddChild(OrExpress());  // an empty argument adds nothing
  } while (NextIs(Token::Comma));

  if (!NextIs(Token::RightParen)) ThrowException(m_reader, ERR_RIGHT_PAREN_REQUIRED);
  m_reader.Read();
  --m_depth;
  return node;
}

std::shared_ptr<AstNode> Parser::BinaryLevel(Rule operand, AstNode::Type type,
                                             std::initializer_list<Token::State> operators) {
  auto left = (this->*operand)();
  for (;;) {
    const Token& op = m_reader.Peek();
    if (std::find(operators.begin(), operators.end(), op.m_state) == operators.end()) {
      return left;
    }
    auto node = NodeAt(type, m_reader.Read());
    auto right = (this->*operand)();
    if (!left || !right) ThrowException(m_reader, ERR_ILLEGAL_EXPRESSION);
    node->AddChild(std::move(left));
    node->AddChild(std::move(right));
    left = std::move(node);
  }
}

std::shared_ptr<AstNode> Parser::OrExpress() {
  return BinaryLevel(&Parser::AndExpress, AstNode::Or, {Token::SingleOr, Token::DoubleOr});
}

std::shared_ptr<AstNode> Parser::AndExpress() {
  return BinaryLevel(&Parser::EqualExpress, AstNode::And, {Token::SingleAnd, Token::DoubleAnd});
}

std::shared_ptr<AstNode> Parser::EqualExpress() {
  return BinaryLevel(&Parser::RelExpress, AstNode::Equal, {Token::SingleEqual, Token::NoEqual});
}

std::shared_ptr<AstNode> Parser::RelExpress() {
  return BinaryLevel(&Parser::AddExpress, AstNode::Rel,
                     {Token::GT, Token::GE, Token::LT, Token::LE});
}

std::shared_ptr<AstNode> Parser::AddExpress() {
  return BinaryLevel(&Parser::MulExpress, AstNode::Add, {Token::Add, Token::Reduce});
}

std::shared_ptr<AstNode> Parser::MulExpress() {
  return BinaryLevel(&Parser::PriExpress, AstNode::Mul, {Token::Multi, Token::Divide});
}

std::shared_ptr<AstNode> Parser::PriExpress() {
  if (m_reader.Empty()) return nullptr;
  const Token& next = m_reader.Peek();
  AstNode::Type leaf;
  switch (next.m_state) {
    case Token::Identifier:
      leaf = AstNode::Identifier;
      break;
    case Token::Digit:
      leaf = AstNode::Digit;
      break;
    case Token::StringLiteral:
      leaf = AstNode::String;
      break;
    case Token::Static:
      leaf = AstNode::Static;
      break;
    case Token::Property:
      leaf = AstNode::PropertyLiteral;
      break;
    case Token::LeftParen: {
      EnterLevel();
      m_reader.Read();
      auto inner = OrExpress();
      if (m_reader.Read().m_state != Token::RightParen) {
        ThrowException(m_reader, ERR_RIGHT_PAREN_REQUIRED);
      }
      --m_depth;
      return inner;
    }
    case Token::Function:
      return FunctionExpress();
    default:
      return nullptr;  // the empty token included
  }
  auto node = NodeAt(leaf, m_reader.Read());
  if (NextIs(Token::LeftParen)) {
    // A call of a name that is not a function, such as ma(C,5).
    m_reader.Unread();
    ThrowException(m_reader, ERR_ILLEGAL_STATEMENT);
  }
  return node;
}
