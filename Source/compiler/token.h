#pragma once

#include <cstdint>
#include <string>

#include "compiler/line_extra_info.h"

// One token of a formula: its kind, its characters and where it starts.
class Token {
 public:
  enum State : int32_t {
    Initial = 0,  // the empty token, returned beyond the end of a list
    Identifier = 1,
    Digit = 2,
    StringLiteral = 3,
    GT = 4,
    GE = 5,
    LT = 6,
    LE = 7,
    Colon = 8,
    Comma = 9,
    Semicolon = 10,
    LeftParen = 11,
    RightParen = 12,
    SingleAnd = 13,
    SingleOr = 14,
    DoubleAnd = 15,
    DoubleOr = 16,
    SingleEqual = 17,
    ExclamatoryMark = 18,
    NoEqual = 19,
    Add = 20,
    Reduce = 21,
    Multi = 22,
    Divide = 23,
    Assignment = 24,
    Function = 25,
    Static = 26,
    Property = 27,
  };

  Token() = default;
  Token(State state, std::string text, LineInfo position);

  // The state's name ("Identifier", "Digit", ...), "Disable..." for others.
  std::string ToString() const;
  bool Empty() const { return m_state == Initial; }
  // " in [ line, column ] is \"text\"".
  std::string Description() const;

  State m_state = Initial;
  std::string m_text;
  LineInfo m_position;
};
