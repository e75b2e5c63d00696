#pragma once

#include <string>

// A numeric error code with its fixed message (the message ends in a blank).
struct ErrorType {
  int code = 0;
  const char* text = "";
};

inline constexpr ErrorType ERR_VARIABLE_NOT_DECLARED{10001, "Variable not declared. "};
inline constexpr ErrorType ERR_LOSS_METHOD_IMPL{10002, "Method not implemented error. "};
inline constexpr ErrorType ERR_RIGHT_PAREN_REQUIRED{10003, "Right parenthesis required. "};
inline constexpr ErrorType ERR_ILLEGAL_CHARACTER{10005, "Illegal character. "};
inline constexpr ErrorType ERR_ILLEGAL_EXPRESSION{10006, "Illegal expression. "};
inline constexpr ErrorType ERR_ILLEGAL_STATEMENT{10007, "Illegal statement. "};
inline constexpr ErrorType ERR_PARAM_COUNT_MISMATCH{
    90000, "The length of actual parameter list and formal parameter list is different. "};

// The one error that travels through compile and run. Caught only by the
// Compiler, which returns ToString() to the host.
class Exception {
 public:
  Exception(unsigned long line, unsigned long column, const ErrorType& type,
            const std::string& text);

  [[noreturn]] static void ThrowException(unsigned long line, unsigned long column,
                                          const std::string& text, const ErrorType& type);

  // { "line" : 1, "column" : 14, "err_code" : 10007, "err_exp" : "...", "desc" : "..." }
  std::string ToString() const;

  unsigned long m_line;
  unsigned long m_column;
  ErrorType m_type;
  std::string m_text;
};
