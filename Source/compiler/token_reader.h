#pragma once

#include <vector>

#include "compiler/token.h"

// A cursor over a token list. Reading beyond the end yields the empty token
// and leaves the cursor where it is.
class TokenReader {
 public:
  explicit TokenReader(const std::vector<Token>& tokens);
  explicit TokenReader(std::vector<Token>&& tokens);

  // The token at the cursor, or the empty token beyond the end (a cursor of
  // -1 counts as beyond the end).
  const Token& Peek() const;
  // As Peek, and steps forward past a real token.
  const Token& Read();
  // Steps back one token, unchecked.
  void Unread() { --m_cursor; }
  bool Empty() const { return m_tokens.empty(); }
  // True when the cursor is on the last token or beyond it.
  bool End() const;
  // Token list with positions, for the compiler's debug flag.
  void Dump() const;

  const std::vector<Token>& Tokens() const { return m_tokens; }
  int Cursor() const { return m_cursor; }

 private:
  std::vector<Token> m_tokens;
  int m_cursor = 0;
};
