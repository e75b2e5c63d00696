#include "compiler/lexer.h"

#include <utility>

#include "compiler/common.h"
#include "compiler/exception.h"

bool is_alpha(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool is_digit(unsigned char c) { return (c >= '0' && c <= '9') || c == '.'; }

bool is_chinese(unsigned char c) { return c >= 0x80; }

bool is_blank(unsigned char c) { return c == '\t' || c == '\n' || c == ' '; }

bool is_variable_start(unsigned char c) { return is_alpha(c) || is_chinese(c) || c == '_'; }

bool is_variable(unsigned char c) { return is_variable_start(c) || is_digit(c); }

std::string to_string(char c) { return std::string(1, c); }

Lexer::Lexer() : m_table(Table::Instance()) {}

TokenReader Lexer::Tokenize(std::string text) {
  m_source = std::move(text);
  m_tokens.clear();
  while (!IsEnd()) {
    m_start = m_current;
    m_start_line = m_line;
    m_start_line_start = m_line_start;
    ScanToken();
  }
  return TokenReader(std::move(m_tokens));
}

bool Lexer::Match(char c) {
  if (IsEnd() || m_source[m_current] != c) return false;
  ++m_current;
  return true;
}

void Lexer::AddToken(Token::State state, std::string text) {
  LineInfo position;
  position.line = m_start_line + 1;
  position.column = m_start - m_start_line_start;
  m_tokens.emplace_back(state, std::move(text), position);
}

void Lexer::AddToken(Token::State state) {
  AddToken(state, m_source.substr(m_start, m_current - m_start));
}

void Lexer::ThrowIllegal(const std::string& text) const {
  unsigned long line = 0;
  unsigned long column = 0;
  if (!m_tokens.empty()) {
    const Token& previous = m_tokens.back();
    line = previous.m_position.line;
    column = previous.m_position.column + previous.m_text.size();
  }
  Exception::ThrowException(line, column, text, ERR_ILLEGAL_CHARACTER);
}

void Lexer::ScanToken() {
  char c = Advance();
  switch (c) {
    case '\t':
    case '\r':
    case ' ':
      return;
    case '\n':
      NewLine();
      return;
    case '!':
      AddToken(Match('=') ? Token::NoEqual : Token::ExclamatoryMark);
      return;
    case '&':
      AddToken(Match('&') ? Token::DoubleAnd : Token::SingleAnd);
      return;
    case '|':
      AddToken(Match('|') ? Token::DoubleOr : Token::SingleOr);
      return;
    case ':':
      AddToken(Match('=') ? Token::Assignment : Token::Colon);
      return;
    case '<':
      if (Match('=')) {
        AddToken(Token::LE);
      } else if (Match('>')) {
        AddToken(Token::NoEqual);
      } else {
        AddToken(Token::LT);
      }
      return;
    case '>':
      AddToken(Match('=') ? Token::GE : Token::GT);
      return;
    case '(':
      AddToken(Token::LeftParen);
      return;
    case ')':
      AddToken(Token::RightParen);
      return;
    case '*':
      AddToken(Token::Multi);
      return;
    case '+':
      AddToken(Token::Add);
      return;
    case ',':
      AddToken(Token::Comma);
      return;
    case ';':
      AddToken(Token::Semicolon);
      return;
    case '=':
      AddToken(Token::SingleEqual);
      return;
    case '/':
      if (Peek() == '/') {
        SkipComment();
      } else {
        AddToken(Token::Divide);
      }
      return;
    case '\'':
      AddStringToken();
      return;
    case '-':
      if (MinusStartsNumber()) {
        AddNumberToken();
      } else {
        AddToken(Token::Reduce);
      }
      return;
    default:
      break;
  }
  // The words AND and OR are operators even when a name follows directly.
  if (c == 'A' && Peek() == 'N' && PeekNext() == 'D') {
    m_current += 2;
    AddToken(Token::DoubleAnd);
    return;
  }
  if (c == 'O' && Peek() == 'R') {
    ++m_current;
    AddToken(Token::DoubleOr);
    return;
  }
  auto byte = static_cast<unsigned char>(c);
  if (is_digit(byte)) {
    AddNumberToken();
  } else if (is_variable_start(byte)) {
    AddIdentifierToken();
  } else {
    ThrowIllegal(to_string(c));
  }
}

void Lexer::SkipComment() {
  // The line feed that ends the comment is left to be counted.
  while (!IsEnd() && Peek() != '\n') {
    if (Advance() == '\0') return;
  }
}

bool Lexer::MinusStartsNumber() const {
  if (!is_digit(static_cast<unsigned char>(Peek()))) return false;
  if (m_tokens.empty()) return true;
  // After an operand the minus subtracts. A function name is not counted as
  // an operand, so C-1 reads as C followed by the number -1.
  switch (m_tokens.back().m_state) {
    case Token::Identifier:
    case Token::Digit:
    case Token::RightParen:
    case Token::Static:
    case Token::Property:
      return false;
    default:
      return true;
  }
}

void Lexer::AddNumberToken() {
  while (!IsEnd() && is_digit(static_cast<unsigned char>(m_source[m_current]))) ++m_current;
  AddToken(Token::Digit);
}

void Lexer::AddStringToken() {
  while (!IsEnd() && m_source[m_current] != '\'') {
    char c = Advance();
    if (c == '\n') NewLine();
  }
  if (IsEnd()) {
    std::string text = "unknown";
    if (!m_tokens.empty() && !m_tokens.back().m_text.empty()) text = m_tokens.back().m_text;
    ThrowIllegal(text);
  }
  ++m_current;  // the closing quote
  AddToken(Token::StringLiteral, m_source.substr(m_start + 1, m_current - m_start - 2));
}

void Lexer::AddIdentifierToken() {
  while (!IsEnd() && is_variable(static_cast<unsigned char>(m_source[m_current]))) {
    ++m_current;
  }
  std::string text = m_source.substr(m_start, m_current - m_start);
  Token::State state = Token::Identifier;
  if (m_table->IsFunction(text)) {
    state = Token::Function;
  } else if (m_table->IsStatic(text)) {
    state = Token::Static;
  } else if (m_table->IsProperty(text)) {
    state = Token::Property;
  }
  AddToken(state, std::move(text));
}
