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

TEST(Statements, VariableReadBeforeAssignmentIsEmptyOnEveryRun) {
  const BarData bars = Closes({1, 2});
  Evaluator evaluator(bars);
  std::shared_ptr<AstNode> tree = CheckedTree("A:B+1; B:=2;");
  for (int run = 0; run < 2; ++run) {
    Result result = evaluator.EvaluateAll(tree);
    ASSERT_EQ(result.out_vars.size(), 1u);
    EXPECT_TRUE(result.out_vars[0].datas.empty()) << "run " << run;
  }
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

}  // namespace
