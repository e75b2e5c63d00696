#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend_helpers.h"

namespace {

struct ShapeCase {
  std::string formula;
  std::string shape;  // Shape() of the first statement's first child
};

std::string FirstExpression(const std::string& formula) {
  auto root = Parse(formula);
  auto statement = root->ChildAtIndex(0);
  return statement ? Shape(statement->ChildAtIndex(0)) : "no statement";
}

void ExpectShapes(const std::vector<ShapeCase>& cases) {
  for (const auto& c : cases) {
    EXPECT_EQ(FirstExpression(c.formula), c.shape) << "formula: " << c.formula;
  }
}

// The report of parsing alone, or "" when the text parses.
std::string ParseReport(const std::string& text) {
  try {
    Parse(text);
    return "";
  } catch (const Exception& error) {
    return error.ToString();
  }
}

TEST(ParserTest, EachLevelIsLeftAssociative) {
  ExpectShapes({
      {"A:1-2-3;", "ReturnAssign :(Identifier A,Add -(Add -(Digit 1,Digit 2),Digit 3))"},
      {"A:4/2*1;", "ReturnAssign :(Identifier A,Mul *(Mul /(Digit 4,Digit 2),Digit 1))"},
      {"A:1>=2<=3;", "ReturnAssign :(Identifier A,Rel <=(Rel >=(Digit 1,Digit 2),Digit 3))"},
      {"A:1=2<>3!=4;",
       "ReturnAssign :(Identifier A,Equal !=(Equal <>(Equal =(Digit 1,Digit 2),Digit 3),"
       "Digit 4))"},
      {"A:1&2&&3 AND 4;",
       "ReturnAssign :(Identifier A,And AND(And &&(And &(Digit 1,Digit 2),Digit 3),Digit 4))"},
      {"A:1|2||3 OR 4;",
       "ReturnAssign :(Identifier A,Or OR(Or ||(Or |(Digit 1,Digit 2),Digit 3),Digit 4))"},
  });
}

TEST(ParserTest, PrecedenceFromOrDownToMul) {
  ExpectShapes({
      {"A:1+2*3;", "ReturnAssign :(Identifier A,Add +(Digit 1,Mul *(Digit 2,Digit 3)))"},
      {"A:(1+2)*3;", "ReturnAssign :(Identifier A,Mul *(Add +(Digit 1,Digit 2),Digit 3))"},
      {"A:1+2>3*4;",
       "ReturnAssign :(Identifier A,Rel >(Add +(Digit 1,Digit 2),Mul *(Digit 3,Digit 4)))"},
      {"A:1<2=3>4;",
       "ReturnAssign :(Identifier A,Equal =(Rel <(Digit 1,Digit 2),Rel >(Digit 3,Digit 4)))"},
      {"A:1=2 AND 3<>4 OR 5;",
       "ReturnAssign :(Identifier A,Or OR(And AND(Equal =(Digit 1,Digit 2),"
       "Equal <>(Digit 3,Digit 4)),Digit 5))"},
      {"A:1 OR 2 AND 3;",
       "ReturnAssign :(Identifier A,Or OR(Digit 1,And AND(Digit 2,Digit 3)))"},
      {"A:((1));", "ReturnAssign :(Identifier A,Digit 1)"},
  });
}

// More reports of bad formulas, byte for byte: test/golden.
TEST(ParserTest, SyntaxErrorsNameTheTokenAtTheCursor) {
  const std::vector<ReportCase> cases = {
      {"A:1", Report(1, 2, 10007, "1")},
      {"A:1 B:2;", Report(1, 4, 10007, "B")},
      {"A:1 2;", Report(1, 4, 10007, "2")},
      {"MA(C,5)+1;", Report(1, 7, 10007, "+")},
      {"A:B:1;", Report(1, 3, 10007, ":")},
      {"A:=1:=2;", Report(1, 4, 10007, ":=")},
      {"ma(C);", Report(1, 0, 10007, "ma")},
      {"A:'s'(1);", Report(1, 2, 10007, "s")},
      {"A:NULL(1);", Report(1, 2, 10007, "NULL")},
      {"A:=", Report(1, 1, 10006, ":=")},
      {"A:();", Report(1, 4, 10006, ";")},
      {"A:!B;", Report(1, 2, 10006, "!")},
      {"(A):1;", Report(1, 0, 10006, "(")},
      {"A:1;;", Report(1, 4, 10006, ";")},
      {"A:1+*2;", Report(1, 6, 10006, ";")},
      {"X:=-C;", Report(1, 5, 10006, ";")},
      {"A:MA(C,5)+;", Report(1, 10, 10006, ";")},
      {"A:(1+2 B;", Report(1, 8, 10003, ";")},
      {"A:(1+2", Report(1, 5, 10003, "2")},
      {"A:MA(C,5;", Report(1, 8, 10003, ";")},
      {"A:MA(C 5);", Report(1, 7, 10003, "5")},
      {"A:1;\nB:(1;", Report(2, 4, 10003, ";")},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseReport(c.formula), c.report) << c.formula;
}

}  // namespace
