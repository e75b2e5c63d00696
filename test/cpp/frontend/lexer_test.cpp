#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend_helpers.h"

namespace {

struct TokenCase {
  std::string text;
  std::string tokens;  // TokenList() form
};

void ExpectTokens(const std::vector<TokenCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(TokenList(c.text), c.tokens) << "text: " << c.text;
}

// The error report of tokenizing `text`, or "" when it tokenizes.
std::string LexReport(const std::string& text) {
  try {
    Lexer lexer;
    lexer.Tokenize(text);
    return "";
  } catch (const Exception& error) {
    return error.ToString();
  }
}

TEST(LexerTest, MinusStartsANumberUnlessAnOperandPrecedesIt) {
  ExpectTokens({
      // A function name is not an operand: C-1 is C and the number -1.
      {"X:=C-1;", "Identifier X@1:0 | Assignment :=@1:1 | Function C@1:3 | Digit -1@1:4 | "
                  "Semicolon ;@1:6"},
      // Only the very next byte is looked at: a blank makes the minus an operator.
      {"X:=C - 1;", "Identifier X@1:0 | Assignment :=@1:1 | Function C@1:3 | Reduce -@1:5 | "
                    "Digit 1@1:7 | Semicolon ;@1:8"},
      {"X:=A-1;", "Identifier X@1:0 | Assignment :=@1:1 | Identifier A@1:3 | Reduce -@1:4 | "
                  "Digit 1@1:5 | Semicolon ;@1:6"},
      {"X:=(1)-2;", "Identifier X@1:0 | Assignment :=@1:1 | LeftParen (@1:3 | Digit 1@1:4 | "
                    "RightParen )@1:5 | Reduce -@1:6 | Digit 2@1:7 | Semicolon ;@1:8"},
      {"X:=5*-2;", "Identifier X@1:0 | Assignment :=@1:1 | Digit 5@1:3 | Multi *@1:4 | "
                   "Digit -2@1:5 | Semicolon ;@1:7"},
      {"-.5", "Digit -.5@1:0"},
      {"NULL-1", "Static NULL@1:0 | Reduce -@1:4 | Digit 1@1:5"},
      {"COLORRED-1", "Property COLORRED@1:0 | Reduce -@1:8 | Digit 1@1:9"},
      {"'s'-1", "StringLiteral s@1:0 | Digit -1@1:3"},
      {"(-1)", "LeftParen (@1:0 | Digit -1@1:1 | RightParen )@1:3"},
      {"--1", "Reduce -@1:0 | Digit -1@1:1"},
  });
}

TEST(LexerTest, AndOrWordsAreUpperCaseOperatorsWithoutWordBoundary) {
  ExpectTokens({
      {"ANDX", "DoubleAnd AND@1:0 | Identifier X@1:3"},
      {"ORDER", "DoubleOr OR@1:0 | Identifier DER@1:2"},
      {"OR1", "DoubleOr OR@1:0 | Digit 1@1:2"},
      {"and or", "Identifier and@1:0 | Identifier or@1:4"},
      {"A AND B OR C", "Identifier A@1:0 | DoubleAnd AND@1:2 | Identifier B@1:6 | "
                       "DoubleOr OR@1:8 | Function C@1:11"},
      // Inside a name the words are not split out.
      {"BAND XOR", "Identifier BAND@1:0 | Identifier XOR@1:5"},
      {"AN O", "Identifier AN@1:0 | Function O@1:3"},
      {"A&&B||C", "Identifier A@1:0 | DoubleAnd &&@1:1 | Identifier B@1:3 | DoubleOr ||@1:4 | "
                  "Function C@1:6"},
  });
}

TEST(LexerTest, LinesCommentsAndCarriageReturns) {
  ExpectTokens({
      {"A:1 // note\nB:2;", "Identifier A@1:0 | Colon :@1:1 | Digit 1@1:2 | Identifier B@2:0 | "
                            "Colon :@2:1 | Digit 2@2:2 | Semicolon ;@2:3"},
      {"// only a comment", ""},
      {"  \n\t// c\n", ""},
      {"A//x", "Identifier A@1:0"},
      // A zero byte ends a comment; what follows it is read again.
      {std::string("//a\0B", 5), "Identifier B@1:4"},
      {"A:1;\r\nB:2;", "Identifier A@1:0 | Colon :@1:1 | Digit 1@1:2 | Semicolon ;@1:3 | "
                       "Identifier B@2:0 | Colon :@2:1 | Digit 2@2:2 | Semicolon ;@2:3"},
      {"A\r:1", "Identifier A@1:0 | Colon :@1:2 | Digit 1@1:3"},
      {"\n\n \tX", "Identifier X@3:2"},
  });
}

TEST(LexerTest, IllegalCharacterIsReportedJustBehindThePreviousToken) {
  const std::vector<ReportCase> cases = {
      {"\"", Report(0, 0, 10005, "\"")},
      {"A:1#", Report(1, 3, 10005, "#")},
      {"AB:=MA(C,5)$", Report(1, 11, 10005, "$")},
      {"MA(C,5)+ \"x\"", Report(1, 8, 10005, "\"")},
      {"A:1;\n  B:2;\n#", Report(2, 6, 10005, "#")},
      {std::string("A\0", 2), Report(1, 1, 10005, std::string(1, '\0'))},
      {"A:1;\x7F", Report(1, 4, 10005, "\x7F")},
      // Unterminated strings name the previous token, or "unknown".
      {"'abc", Report(0, 0, 10005, "unknown")},
      {"A:'abc", Report(1, 2, 10005, ":")},
      {"A:'' 'x", Report(1, 2, 10005, "unknown")},
      {"A:\n'x\ny", Report(1, 2, 10005, ":")},
      {"A:1; // '\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LexReport(c.formula), c.report) << "text: " << c.formula;

  for (char byte : std::string("\"#$%[]{}^~`?@\\\x01")) {
    EXPECT_EQ(LexReport(std::string("A:") + byte), Report(1, 2, 10005, std::string(1, byte)))
        << "byte " << static_cast<int>(byte);
  }
}

}  // namespace
