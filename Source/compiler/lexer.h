#pragma once

#include <string>
#include <vector>

#include "compiler/token.h"
#include "compiler/token_reader.h"

class Table;

// Byte classes of the formula text. Every byte from 0x80 up counts as a
// letter, so UTF-8 names are accepted without decoding.
bool is_alpha(unsigned char c);
bool is_digit(unsigned char c);  // 0 to 9 and the point
bool is_chinese(unsigned char c);
bool is_blank(unsigned char c);
bool is_variable_start(unsigned char c);
bool is_variable(unsigned char c);
std::string to_string(char c);

// Turns formula text into tokens in one left-to-right pass. Each name's kind
// (function, static, property or plain identifier) is decided here by the
// function table. Throws Exception (illegal character) on the first byte
// that starts no token and on an unterminated string.
class Lexer {
 public:
  Lexer();

  TokenReader Tokenize(std::string text);

 private:
  void ScanToken();
  void AddToken(Token::State state, std::string text);
  void AddToken(Token::State state);
  void AddStringToken();
  void AddNumberToken();
  void AddIdentifierToken();
  void SkipComment();
  bool MinusStartsNumber() const;
  // Raises the illegal-character error just behind the previous token.
  [[noreturn]] void ThrowIllegal(const std::string& text) const;

  char Advance() { return m_source[m_current++]; }
  char Peek() const { return IsEnd() ? '\0' : m_source[m_current]; }
  char PeekNext() const {
    return m_current + 1 >= m_source.size() ? '\0' : m_source[m_current + 1];
  }
  bool IsEnd() const { return m_current >= m_source.size(); }
  bool Match(char c);
  void NewLine() {
    ++m_line;
    m_line_start = m_current;
  }

  unsigned long m_start = 0;
  unsigned long m_current = 0;
  unsigned long m_line = 0;        // line feeds passed so far
  unsigned long m_line_start = 0;  // index of the first byte of the current line
  // Line counters as they were at m_start: a string literal that spans lines
  // still takes the position of its opening quote.
  unsigned long m_start_line = 0;
  unsigned long m_start_line_start = 0;
  std::string m_source;
  std::vector<Token> m_tokens;
  const Table* m_table;
};
