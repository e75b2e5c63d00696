#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend_helpers.h"

namespace {

void ExpectReports(const std::vector<ReportCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Check(c.formula), c.report) << "formula: " << c.formula;
}

TEST(ParseWalkerTest, StatementsMustAssignOrCall) {
  ExpectReports({
      {"A;", Report(1, 0, 10007, "Property")},
      {"A:1;\n  B>1;", Report(2, 2, 10007, "Property")},
      {"A=1,COLORRED;", Report(1, 0, 10007, "Property")},
      {"A:1; A:=A+1; C; DRAWTEXT(C>O,L,'up');", ""},
      {"", ""},
  });
}

TEST(ParseWalkerTest, VariablesMustBeAssignedSomewhere) {
  ExpectReports({
      {"A:B;", Report(1, 2, 10001, "B")},
      {"A:B+1; B:=2;", ""},  // used before its assignment
      {"A:1,Y;", Report(1, 4, 10001, "Y")},
      {"A:1;\nX:A+MA(C,Q);", Report(2, 9, 10001, "Q")},
      {"A:ma+1;", Report(1, 2, 10001, "ma")},
      {"A:NULL,COLORRED,DRAWNULL;", ""},
  });
}

TEST(ParseWalkerTest, CallsMustHaveAnAllowedArgumentCount) {
  ExpectReports({
      {"A:=1; X:MA(A);", Report(1, 8, 90000, "MA")},
      {"A:MA(C,5,1);", Report(1, 2, 90000, "MA")},
      {"A:MA(C,5);", ""},
      {"A:=MA;", Report(1, 3, 90000, "MA")},
      {"A:=CLOSE;", ""},
      {"A:=CLOSE();", ""},
      {"A:=CLOSE(1);", Report(1, 3, 90000, "CLOSE")},
      {"A:MA(MA(C),5);", Report(1, 5, 90000, "MA")},
      {"A:1,MA(C);", Report(1, 4, 90000, "MA")},
      {"A:=MA(,,C,);", Report(1, 3, 90000, "MA")},  // empty arguments do not count
      {"DRAWICON(C>O,L,1);", ""},
      {"DRAWICON(C>O,L,1,2);", ""},
      {"DRAWICON(C>O,L);", Report(1, 0, 90000, "DRAWICON")},
      {"DRAWICON(C>O,L,1,2,3);", Report(1, 0, 90000, "DRAWICON")},
      {"DRAWLINE(C,H,O,L);", ""},
      {"DRAWLINE(C,H,O,L,1);", ""},
      {"DRAWLINE(C,H,O);", Report(1, 0, 90000, "DRAWLINE")},
      {"PARTLINE2(C,1,2);", ""},
      {"PARTLINE2(C,1,2,3,4);", ""},
      {"PARTLINE2(C,1,2,3,4,5,6);", ""},
      {"PARTLINE2(C);", Report(1, 0, 90000, "PARTLINE2")},
      {"PARTLINE2(C,1);", Report(1, 0, 90000, "PARTLINE2")},
      {"PARTLINE2(C,1,2,3);", Report(1, 0, 90000, "PARTLINE2")},
      {"PARTLINE2;", Report(1, 0, 90000, "PARTLINE2")},
  });
}

TEST(ParseWalkerTest, PassesRunInOrderOverTheWholeFormula) {
  ExpectReports({
      // Pass 2 (variables) before pass 3 (counts), even within one statement.
      {"A:1; B:UNDEFINED, MA(A);", Report(1, 7, 10001, "UNDEFINED")},
      {"A:MA(C); B:Y;", Report(1, 11, 10001, "Y")},
      // Pass 1 (statement shape) before both, even for a later statement.
      {"A:B; X;", Report(1, 5, 10007, "Property")},
      {"A:MA(C); B;", Report(1, 9, 10007, "Property")},
      // Within a pass, text order.
      {"A:X+Y;", Report(1, 2, 10001, "X")},
      {"A:MA(C)+REF(C);", Report(1, 2, 90000, "MA")},
      {"A:MA(REF(C),1)+MA(C);", Report(1, 5, 90000, "REF")},
  });
}

// A tree the parser never builds: an assignment without a value.
TEST(ParseWalkerTest, AssignmentWithoutValueIsRefusedAtTheOperator) {
  auto assignment = AstNode::Create(AstNode::Assignment, ":=");
  assignment->m_position.line = 1;
  assignment->m_position.column = 3;
  assignment->AddChild(AstNode::Create(AstNode::Identifier, "A"));
  auto statement = AstNode::Create(AstNode::Statement, "Statement");
  statement->AddChild(assignment);
  auto root = AstNode::Create(AstNode::Root, "Root");
  root->AddChild(statement);
  try {
    ParseWalker().Walker(root);
    ADD_FAILURE() << "accepted";
  } catch (const Exception& error) {
    EXPECT_EQ(error.ToString(), Report(1, 3, 10007, ":="));
  }
}

}  // namespace
