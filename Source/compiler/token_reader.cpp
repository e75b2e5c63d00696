#include "compiler/token_reader.h"

#include <iostream>
#include <utility>

namespace {

const Token& EmptyToken() {
  static const Token empty;
  return empty;
}

}  // namespace

TokenReader::TokenReader(const std::vector<Token>& tokens) : m_tokens(tokens) {}

TokenReader::TokenReader(std::vector<Token>&& tokens) : m_tokens(std::move(tokens)) {}

const Token& TokenReader::Peek() const {
  // Taken as unsigned, a cursor stepped back to -1 lies beyond the end.
  auto index = static_cast<unsigned int>(m_cursor);
  if (index >= m_tokens.size()) return EmptyToken();
  return m_tokens[index];
}

const Token& TokenReader::Read() {
  const Token& token = Peek();
  if (!token.Empty()) ++m_cursor;
  return token;
}

bool TokenReader::End() const {
  if (m_cursor < 0) return true;
  return static_cast<size_t>(m_cursor) + 1 >= m_tokens.size();
}

void TokenReader::Dump() const {
  for (size_t i = 0; i < m_tokens.size(); ++i) {
    const Token& token = m_tokens[i];
    std::cout << "[" << i << "] " << token.ToString() << " : " << token.m_text << " "
              << token.m_position.Desc() << " \n";
  }
  std::cout << std::endl;
}
