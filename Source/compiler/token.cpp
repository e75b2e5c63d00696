#include "compiler/token.h"

#include <utility>

namespace {

const char* const kStateNames[] = {
    "Initial",   "Identifier",  "Digit",      "StringLiteral", "GT",
    "GE",        "LT",          "LE",         "Colon",         "Comma",
    "Semicolon", "LeftParen",   "RightParen", "SingleAnd",     "SingleOr",
    "DoubleAnd", "DoubleOr",    "SingleEqual", "ExclamatoryMark", "NoEqual",
    "Add",       "Reduce",      "Multi",      "Divide",        "Assignment",
    "Function",  "Static",      "Property"};

constexpr int kStateCount = static_cast<int>(sizeof(kStateNames) / sizeof(kStateNames[0]));

}  // namespace

Token::Token(State state, std::string text, LineInfo position)
    : m_state(state), m_text(std::move(text)), m_position(position) {}

std::string Token::ToString() const {
  int value = static_cast<int>(m_state);
  if (value < 0 || value >= kStateCount) return "Disable...";
  return kStateNames[value];
}

std::string Token::Description() const {
  return " in " + m_position.Desc() + " is \"" + m_text + "\"";
}
