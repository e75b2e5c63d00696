// Whole formulas through the evaluator: operators, broadcast, invalid values,
// statics, properties and the order of outputs.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "compiler/exception.h"
#include "formula_runner.h"
#include "series_expect.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

struct OperatorCase {
  const char* formula;
  std::vector<double> closes;
  std::vector<double> expected;
};

// Each formula has one output; the bars carry only closes (open, high, low 0).
const OperatorCase kOperatorCases[] = {
    {"X:2+3;", {1, 1, 1, 1}, {5, 5, 5, 5}},
    {"X:2+3;", {}, {}},
    {"X:1-2-3;", {0}, {-4}},            // left-associative
    {"X:1+2*3;", {0}, {7}},             // * binds tighter
    {"X:(1+2)*3;", {0}, {9}},
    {"X:8/4/2;", {0}, {1}},
    {"X:CLOSE/0;", {3, -2}, {0, 0}},
    {"X:CLOSE/(CLOSE-CLOSE);", {3, -2}, {0, 0}},
    {"X:1/(0*(0-1));", {0}, {0}},       // negative zero divides to 0 too
    {"X:(CLOSE)-1;", {-100000, 5}, {-100000, 4}},
    {"X:CLOSE*0;", {-100000, 5}, {-100000, 0}},
    {"X:'abc'+1;", {1, 2}, {}},
    {"X:CLOSE>OPEN;", {1, 0, -1}, {1, 0, 0}},
    {"X:CLOSE>=CLOSE;", {1, 2}, {1, 1}},
    {"X:CLOSE<>CLOSE;", {1, 2}, {0, 0}},
    {"X:CLOSE!=2;", {1, 2}, {1, 0}},
    {"X:CLOSE=2;", {1, 2}, {0, 1}},
    {"X:CLOSE<2;", {1, 2}, {1, 0}},
    {"X:CLOSE<=1;", {1, 2}, {1, 0}},
    {"X:1 AND 0;", {0, 0}, {0, 0}},
    {"X:2 OR 0;", {0}, {1}},
    {"X:-1 AND -1;", {0}, {1}},
    {"X:1 && CLOSE;", {0, 3}, {0, 1}},
    {"X:0 || CLOSE;", {0, 3}, {0, 1}},
    {"X:1 & 1 | 0;", {0}, {1}},
    {"X:CLOSE>1;", {-100000, 2}, {-100000, 1}},
    {"X:CLOSE AND 1;", {-100000}, {-100000}},
    {"X:CLOSE OR 1;", {-100000}, {-100000}},
    {"X:NULL;", {1, 2, 3}, {-100000, -100000, -100000}},
    {"X:DRAWNULL;", {}, {}},
    {"X:NULL+1;", {1, 2}, {-100000, -100000}},
    {"X:1>2=0;", {0}, {1}},             // comparison before equality
    {"X:1=1 AND 2>1;", {0}, {1}},       // equality before AND
    {"X:0 AND 0 OR 1;", {0}, {1}},      // AND before OR
};

TEST(Operators, Table) {
  for (const OperatorCase& c : kOperatorCases) {
    SCOPED_TRACE(c.formula);
    EXPECT_TRUE(SeriesEq(OnlyOutput(c.formula, Closes(c.closes)), c.expected));
  }
}

TEST(Operators, NotANumberIsAValue) {
  struct Case {
    const char* formula;
    double expected;
  } cases[] = {
      {"X:CLOSE+1;", NaN}, {"X:CLOSE>1;", 0},     {"X:CLOSE=CLOSE;", 0}, {"X:CLOSE<>CLOSE;", 1},
      {"X:CLOSE AND 1;", 1}, {"X:CLOSE OR 0;", 1}, {"X:1/CLOSE;", NaN},   {"X:CLOSE/0;", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formula);
    EXPECT_TRUE(SeriesEq(OnlyOutput(c.formula, Closes({NaN})), {c.expected}));
  }
}

TEST(Statements, AssignmentsAndOutputs) {
  Result result = Outputs("A:=CLOSE; B:A+1; Y:5; Z:'text'; CLOSE; B:A;", Closes({1, 2}));
  ASSERT_EQ(result.out_vars.size(), 5u);
  const char* names[] = {"B", "Y", "Z", "CLOSE", "B"};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(result.out_vars[i].name, names[i]);
  EXPECT_SERIES(result.out_vars[0].datas, {2, 3});
  EXPECT_TRUE(result.out_vars[1].datas.empty());  // a number gives no values
  EXPECT_TRUE(result.out_vars[2].datas.empty());
  EXPECT_SERIES(result.out_vars[3].datas, {1, 2});
  EXPECT_SERIES(result.out_vars[4].datas, {1, 2});
}

TEST(Statements, PropertiesKeepOnlyTexts) {
  Result result = Outputs("X:CLOSE,COLORRED,3,'abc',CLOSE,LINETHICK2;", Closes({1}));
  ASSERT_EQ(result.out_vars.size(), 1u);
  EXPECT_EQ(result.out_vars[0].properties,
            (std::vector<std::string>{"COLORRED", "abc", "LINETHICK2"}));
}

TEST(Statements, VariableReadBeforeAssignmentIsEmptyOnEveryRun) {
  Evaluator evaluator;
  std::shared_ptr<AstNode> tree = CheckedTree("A:B+1; B:=2;");
  for (int run = 0; run < 2; ++run) {
    Result result = evaluator.Evaluate(tree, Closes({1, 2}));
    ASSERT_EQ(result.out_vars.size(), 1u);
    EXPECT_TRUE(result.out_vars[0].datas.empty()) << "run " << run;
  }
}

TEST(Statements, LaterAssignmentReplacesEarlier) {
  EXPECT_SERIES(Outputs("A:=1; A:=CLOSE; B:A*2;", Closes({1, 2})).out_vars[0].datas, {2, 4});
}

TEST(Calls, UnknownFunctionEndsTheRunWith10002) {
  Evaluator evaluator;
  std::shared_ptr<AstNode> node = AstNode::Create(AstNode::Fun, "NOSUCH");
  try {
    evaluator.Call("NOSUCH", node);
    FAIL() << "expected an exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.ToString(),
              "{ \"line\" : 0, \"column\" : 0, \"err_code\" : 10002, \"err_exp\" : \"Method not "
              "implemented error. \", \"desc\" : \"NOSUCH\" }");
  }
}

TEST(Chains, HundredThousandTermsNeitherOverflowNorSlow) {
  std::string text = "X:1";
  for (int i = 1; i < 100000; ++i) text += "+1";
  text += ";";
  EXPECT_SERIES(OnlyOutput(text, Closes({0, 0})), {100000, 100000});
}

}  // namespace
