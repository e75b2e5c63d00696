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

TEST(LexerTest, OperatorsTakeTheSecondByteOnlyWhenAdjacent) {
  ExpectTokens({
      {"!= ! && & || | := : <= <> < >= > ( ) * + , ; = /",
       "NoEqual !=@1:0 | ExclamatoryMark !@1:3 | DoubleAnd &&@1:5 | SingleAnd &@1:8 | "
       "DoubleOr ||@1:10 | SingleOr |@1:13 | Assignment :=@1:15 | Colon :@1:18 | LE <=@1:20 | "
       "NoEqual <>@1:23 | LT <@1:26 | GE >=@1:28 | GT >@1:31 | LeftParen (@1:33 | "
       "RightParen )@1:35 | Multi *@1:37 | Add +@1:39 | Comma ,@1:41 | Semicolon ;@1:43 | "
       "SingleEqual =@1:45 | Divide /@1:47"},
      {"==", "SingleEqual =@1:0 | SingleEqual =@1:1"},
      {"a<>=b", "Identifier a@1:0 | NoEqual <>@1:1 | SingleEqual =@1:3 | Identifier b@1:4"},
      {"!!=", "ExclamatoryMark !@1:0 | NoEqual !=@1:1"},
      {"1/ /2", "Digit 1@1:0 | Divide /@1:1 | Divide /@1:3 | Digit 2@1:4"},
  });
}

TEST(LexerTest, NumbersAreRunsOfDigitsAndPoints) {
  ExpectTokens({
      {"12 0.5 .5 5. 1.2.3",
       "Digit 12@1:0 | Digit 0.5@1:3 | Digit .5@1:7 | Digit 5.@1:10 | Digit 1.2.3@1:13"},
      {"1A", "Digit 1@1:0 | Identifier A@1:1"},
  });
}

TEST(LexerTest, NamesAreClassifiedByTheTableCaseSensitively) {
  ExpectTokens({
      {"ma close colorred null",
       "Identifier ma@1:0 | Identifier close@1:3 | Identifier colorred@1:9 | "
       "Identifier null@1:18"},
      {"MA CLOSE COLORRED NULL DRAWLINE",
       "Function MA@1:0 | Function CLOSE@1:3 | Property COLORRED@1:9 | Static NULL@1:18 | "
       "Function DRAWLINE@1:23"},
      {"_x.1 MA5", "Identifier _x.1@1:0 | Identifier MA5@1:5"},
      // Bytes from 0x80 up are letters: a UTF-8 name is one identifier.
      {"\xE5\x9D\x87\xE7\xBA\xBF:C;",
       "Identifier \xE5\x9D\x87\xE7\xBA\xBF@1:0 | Colon :@1:6 | Function C@1:7 | "
       "Semicolon ;@1:8"},
      {"MA\xE5\x9D\x87 \xFF", "Identifier MA\xE5\x9D\x87@1:0 | Identifier \xFF@1:6"},
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

TEST(LexerTest, StringLiterals) {
  ExpectTokens({
      // A string over two lines starts where its quote is; later tokens count
      // columns from the start of the later line.
      {"A:'x\ny';B:1;",
       "Identifier A@1:0 | Colon :@1:1 | StringLiteral x\ny@1:2 | Semicolon ;@2:2 | "
       "Identifier B@2:3 | Colon :@2:4 | Digit 1@2:5 | Semicolon ;@2:6"},
      {"''", "StringLiteral @1:0"},
      {"'a//b' 'x\"y'", "StringLiteral a//b@1:0 | StringLiteral x\"y@1:7"},
      {"'MA(C,5)'", "StringLiteral MA(C,5)@1:0"},
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

TEST(TokenReaderTest, CursorStopsAtTheEndAndBeforeTheStart) {
  Lexer lexer;
  TokenReader reader = lexer.Tokenize("A:1;");
  EXPECT_FALSE(reader.Empty());
  EXPECT_EQ(reader.Peek().m_text, "A");
  EXPECT_FALSE(reader.End());
  for (const char* text : {"A", ":", "1"}) EXPECT_EQ(reader.Read().m_text, text);
  EXPECT_TRUE(reader.End());  // on the last token
  EXPECT_EQ(reader.Read().m_text, ";");
  EXPECT_TRUE(reader.Read().Empty());
  EXPECT_TRUE(reader.Read().Empty());
  EXPECT_EQ(reader.Cursor(), 4);
  reader.Unread();
  EXPECT_EQ(reader.Read().m_text, ";");

  TokenReader before(reader.Tokens());
  before.Unread();  // -1 reads as beyond the end
  EXPECT_TRUE(before.Peek().Empty());
  EXPECT_TRUE(before.End());

  TokenReader empty(std::vector<Token>{});
  EXPECT_TRUE(empty.Empty());
  EXPECT_TRUE(empty.End());
  EXPECT_TRUE(empty.Read().Empty());
  EXPECT_EQ(empty.Cursor(), 0);
}

TEST(TokenReaderTest, DumpListsEveryTokenWithItsPosition) {
  Lexer lexer;
  TokenReader reader = lexer.Tokenize("A:1;");
  testing::internal::CaptureStdout();
  reader.Dump();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "[0] Identifier : A [ 1, 0 ] \n[1] Colon : : [ 1, 1 ] \n[2] Digit : 1 [ 1, 2 ] \n"
            "[3] Semicolon : ; [ 1, 3 ] \n\n");
}

TEST(TokenTest, NamesAndDescription) {
  LineInfo position;
  position.line = 3;
  position.column = 7;
  EXPECT_EQ(Token(Token::Function, "MA", position).Description(), " in [ 3, 7 ] is \"MA\"");
  EXPECT_EQ(Token(Token::Property, "", position).ToString(), "Property");
  EXPECT_EQ(Token(static_cast<Token::State>(28), "", position).ToString(), "Disable...");
  EXPECT_EQ(Token(static_cast<Token::State>(-1), "", position).ToString(), "Disable...");
  EXPECT_TRUE(Token().Empty());
  EXPECT_EQ(Token().ToString(), "Initial");
}

}  // namespace
