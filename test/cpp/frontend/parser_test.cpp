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

TEST(ParserTest, LeavesCallsAndAssignments) {
  ExpectShapes({
      {"A:C;", "ReturnAssign :(Identifier A,Fun C)"},
      {"A:=C();", "Assignment :=(Identifier A,Fun C)"},
      {"MA(C,5);", "Fun MA(Fun C,Digit 5)"},
      {"A:MA(,C);", "ReturnAssign :(Identifier A,Fun MA(Fun C))"},
      {"A:MA(C,);", "ReturnAssign :(Identifier A,Fun MA(Fun C))"},
      {"A:MA(C,(5));", "ReturnAssign :(Identifier A,Fun MA(Fun C,Digit 5))"},
      {"A:MA(C+1,REF(C,1)*2);",
       "ReturnAssign :(Identifier A,Fun MA(Add +(Fun C,Digit 1),Mul *(Fun REF(Fun C,Digit 1),"
       "Digit 2)))"},
      {"A:'up'+NULL-B;",
       "ReturnAssign :(Identifier A,Add -(Add +(String up,Static NULL),Identifier B))"},
      {"A:COLORRED;", "ReturnAssign :(Identifier A,PropertyLiteral COLORRED)"},
      // After a right parenthesis the minus subtracts.
      {"X:=C-(1);", "Assignment :=(Identifier X,Add -(Fun C,Digit 1))"},
      {"X:=(C)-1;", "Assignment :=(Identifier X,Add -(Fun C,Digit 1))"},
      {"A:=5*-2;", "Assignment :=(Identifier A,Mul *(Digit 5,Digit -2))"},
      {"DRAWTEXT(C>O,L,'up');", "Fun DRAWTEXT(Rel >(Fun C,Fun O),Fun L,String up)"},
  });
}

TEST(ParserTest, StatementsPropertiesAndDroppedExpressions) {
  const std::vector<ShapeCase> cases = {
      {"", "Root"},
      {"  // nothing\n\t", "Root"},
      {"A:1,COLORRED,LINETHICK2;",
       "Root(Statement(ReturnAssign :(Identifier A,Digit 1),"
       "Property(PropertyLiteral COLORRED,PropertyLiteral LINETHICK2)))"},
      {"A:1,;", "Root(Statement(ReturnAssign :(Identifier A,Digit 1),Property))"},
      {"A:1;B:=2;",
       "Root(Statement(ReturnAssign :(Identifier A,Digit 1),Property),"
       "Statement(Assignment :=(Identifier B,Digit 2),Property))"},
      // A name without : or := loses its expression.
      {"A;", "Root(Statement(Property))"},
      {"A>1;", "Root(Statement(Property))"},
      {"A=1,NODRAW;", "Root(Statement(Property(PropertyLiteral NODRAW)))"},
  };
  for (const auto& c : cases) EXPECT_EQ(Shape(Parse(c.formula)), c.shape) << c.formula;
}

TEST(ParserTest, NodesCarryTheirTokenPositions) {
  auto root = Parse("A:1;\n  B:=MA(C, 5)+X,COLORRED;");
  EXPECT_EQ(root->m_position.line, 0u);
  EXPECT_EQ(root->m_position.column, 0u);
  auto statement = root->ChildAtIndex(1);
  auto assignment = statement->ChildAtIndex(0);
  auto add = assignment->ChildAtIndex(1);
  auto call = add->ChildAtIndex(0);
  auto property = statement->ChildAtIndex(1);
  struct Where {
    std::shared_ptr<AstNode> node;
    std::string text;
    unsigned long line, column;
  };
  const std::vector<Where> cases = {
      {statement, "Statement", 2, 2},  // the statement's first token
      {property, "Property", 2, 2},
      {assignment->ChildAtIndex(0), "B", 2, 2},
      {assignment, ":=", 2, 3},
      {call, "MA", 2, 5},
      {call->ChildAtIndex(1), "5", 2, 11},
      {add, "+", 2, 13},
      {add->ChildAtIndex(1), "X", 2, 14},
      {property->ChildAtIndex(0), "COLORRED", 2, 16},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(c.node) << c.text;
    EXPECT_EQ(c.node->m_text, c.text);
    EXPECT_EQ(c.node->m_position.line, c.line) << c.text;
    EXPECT_EQ(c.node->m_position.column, c.column) << c.text;
  }
}

TEST(ParserTest, SyntaxErrorsNameTheTokenAtTheCursor) {
  const std::vector<ReportCase> cases = {
      {"MA5:MA(CLOSE,5)", Report(1, 14, 10007, ")")},
      {"A:1", Report(1, 2, 10007, "1")},
      {"A:1 B:2;", Report(1, 4, 10007, "B")},
      {"A:1 2;", Report(1, 4, 10007, "2")},
      {"MA(C,5)+1;", Report(1, 7, 10007, "+")},
      {"X:=C-1;", Report(1, 4, 10007, "-1")},
      {"A+B:1;", Report(1, 3, 10007, ":")},
      {"A:B:1;", Report(1, 3, 10007, ":")},
      {"A:=1:=2;", Report(1, 4, 10007, ":=")},
      {"X:ma(C,5);", Report(1, 2, 10007, "ma")},
      {"ma(C);", Report(1, 0, 10007, "ma")},
      {"A:'s'(1);", Report(1, 2, 10007, "s")},
      {"A:NULL(1);", Report(1, 2, 10007, "NULL")},
      {"A:=;", Report(1, 3, 10006, ";")},
      {"A:=", Report(1, 1, 10006, ":=")},
      {"A:();", Report(1, 4, 10006, ";")},
      {"A:!B;", Report(1, 2, 10006, "!")},
      {"5:A;", Report(1, 0, 10006, "5")},
      {"(A):1;", Report(1, 0, 10006, "(")},
      {"A:1;;", Report(1, 4, 10006, ";")},
      {"A:1+*2;", Report(1, 6, 10006, ";")},
      {"X:=-C;", Report(1, 5, 10006, ";")},
      {"A:MA(C,5)+;", Report(1, 10, 10006, ";")},
      {"A:(1+2;", Report(1, 6, 10003, ";")},
      {"A:(1+2 B;", Report(1, 8, 10003, ";")},
      {"A:(1+2", Report(1, 5, 10003, "2")},
      {"A:MA(C,5;", Report(1, 8, 10003, ";")},
      {"A:MA(C 5);", Report(1, 7, 10003, "5")},
      {"A:1;\nB:(1;", Report(2, 4, 10003, ";")},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseReport(c.formula), c.report) << c.formula;
}

}  // namespace
