// Whole formulas through the evaluator: variables across runs, names without
// implementation, cancelled runs (operators and the rest: test/golden).

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "compiler/exception.h"
#include "formula_runner.h"
#include "series_expect.h"
#include "strategy/reference/find_high_strategy.h"
#include "strategy/reference/sum_bars_strategy.h"
#include "strategy/statistics/ave_dev_strategy.h"
#include "strategy/statistics/relate_strategy.h"
#include "strategy/statistics/std_strategy.h"
#include "util/cancel.h"

namespace {

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

// A run whose flag is set stops with RunCancelled and forgets its kept
// values: the next run recomputes every bar and equals a fresh run.
TEST(Cancel, ACancelledRunIsForgottenAndTheNextRunIsWhole) {
  const std::string text = "A:MA(C,3); B:EMA(C,5)+STD(C,4); C2:DRAWTEXT(C>2,C,'x');";
  std::vector<double> closes;
  for (int i = 0; i < 50; ++i) closes.push_back(1 + (i * 7) % 5);
  BarData bars = Closes(closes);
  std::shared_ptr<AstNode> tree = CheckedTree(text);
  Evaluator evaluator(bars);
  evaluator.Run(tree);
  BarRow last;
  last.close = 9;
  bars.ReplaceLast(last);
  std::atomic<bool> flag{true};
  {
    CancelScope scope(&flag);
    EXPECT_THROW(evaluator.Run(tree), RunCancelled);
    flag = false;
    evaluator.Run(tree);
  }
  EXPECT_EQ(evaluator.FirstChanged(), 0u);
  EXPECT_EQ(evaluator.ToResult().JsonString(), Outputs(text, bars).JsonString());
}

// The loops that cost bars x window look at the flag inside the loop, not
// only between nodes: with the flag set they stop on their own.
TEST(Cancel, LongWindowLoopsStopInsideTheLoop) {
  std::vector<double> values(20000), positions(20000);
  for (size_t i = 0; i < values.size(); ++i) {
    values[i] = static_cast<double>(i % 97);
    positions[i] = static_cast<double>(i);
  }
  const DataExt x(values), barpos(positions), far(std::vector<double>(values.size(), 1e300));
  const std::pair<const char*, std::function<void()>> kLoops[] = {
      {"STD per bar", [&] { Std(x, barpos); }},
      {"AVEDEV", [&] { AveDev(x, 5000); }},
      {"RELATE", [&] { Relate(x, barpos, 5000); }},
      {"FINDHIGH", [&] { FindHigh(x, 0, 5000, 10); }},
      {"SUMBARS never reached", [&] { SumBars(x, far); }},
  };
  std::atomic<bool> flag{true};
  CancelScope scope(&flag);
  for (const auto& [label, loop] : kLoops) EXPECT_THROW(loop(), RunCancelled) << label;
}

}  // namespace
