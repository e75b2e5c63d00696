// Incremental runs against full runs: after every change of the rows, the
// evaluator that kept its previous values must produce exactly the outputs of
// a fresh evaluator (bit for bit, and the same JSON text), and the bars before
// the first changed bar it reports must be those of its previous run.
//
// FORMULA_DIFF_ROUNDS=<n> multiplies the generated cases (default 1).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/common.h"
#include "compiler/exception.h"
#include "compiler/incremental.h"
#include "formula_runner.h"
#include "strategy/util/strategy_util.h"

namespace {

const char kChartSet[] =
    "DIF:EMA(CLOSE,12)-EMA(CLOSE,26);DEA:EMA(DIF,9);MACD:(DIF-DEA)*2;"
    "RSV:=(CLOSE-LLV(LOW,9))/(HHV(HIGH,9)-LLV(LOW,9))*100;K:SMA(RSV,3,1);D:SMA(K,3,1);J:3*K-2*D;"
    "MID:MA(CLOSE,20);UPPER:MID+2*STD(CLOSE,20);LOWER:MID-2*STD(CLOSE,20);"
    "LC:=REF(CLOSE,1);RSI:SMA(MAX(CLOSE-LC,0),14,1)/SMA(ABS(CLOSE-LC),14,1)*100;"
    "MA5:MA(CLOSE,5);MA10:MA(CLOSE,10);MA20:MA(CLOSE,20);MA60:MA(CLOSE,60);";

int Rounds() {
  const char* text = std::getenv("FORMULA_DIFF_ROUNDS");
  return text && std::atoi(text) > 0 ? std::atoi(text) : 1;
}

// Bars of a random walk; with `odd`, now and then a close without a value
// (-100000), a NaN high or a flat bar (comparisons flip).
struct BarMaker {
  std::mt19937 random;
  bool odd;
  double close = 100.0;
  size_t count = 0;

  int Pick(int high) { return std::uniform_int_distribution<int>(0, high)(random); }
  double Step() { return std::uniform_real_distribution<double>(-0.03, 0.03)(random); }
  BarRow Next() {
    close *= 1.0 + Step();
    BarRow row;
    row.open = close * (1.0 + Step() / 3);
    row.close = close;
    row.high = std::max(row.open, row.close) * 1.01;
    row.low = std::min(row.open, row.close) * 0.99;
    row.vol = std::floor(1000 + 1000 * (Step() + 0.03));
    row.time = 1.6e12 + 86400000.0 * count++;
    const int k = odd ? Pick(40) : 40;
    if (k == 0) row.close = kInvalidValue;
    if (k == 1) row.high = std::nan("");
    if (k == 2) row.close = row.open;
    return row;
  }
  // The same bar with another close: small, or large enough to cross levels.
  BarRow Moved(BarRow row) {
    const int k = Pick(5);
    row.close = row.close == kInvalidValue ? close : row.close * (k == 0 ? 1.2 : k == 1 ? 0.8 : 1.0 + (k - 3) * 0.001);
    row.high = std::max(row.high, row.close);
    row.low = std::min(row.low, row.close);
    if (odd && k == 5) row.close = kInvalidValue;
    return row;
  }
};

// Runs `text` incrementally over `first_rows` rows changed `steps` times at
// random (replace the last, append one or two, prepend one, append none),
// comparing each run with a fresh full run; a Compiler given the same
// changes must write the same text. Returns the steps compared (-1 after a
// failure); a formula that does not compile or run compares nothing.
int ReplayTicks(const std::string& text, unsigned seed, int steps, bool odd, size_t first_rows) {
  std::shared_ptr<AstNode> tree;
  try {
    tree = CheckedTree(text);
  } catch (const Exception&) {
    return 0;
  }
  BarMaker maker{std::mt19937(seed), odd};
  std::vector<BarRow> rows;
  for (size_t i = 0; i < first_rows; ++i) rows.push_back(maker.Next());
  BarData bars(rows);
  Evaluator incremental(bars);
  incremental.m_env.m_period = 1440;
  Compiler compiler(text);
  compiler.Compile();
  compiler.PiecesFrom(seed % 2 ? 0 : OutputWriter::kPiecesFrom);  // in pieces after ticks, or whole
  compiler.Bars().Assign(rows);
  compiler.Period(1440);
  Result previous;
  for (int step = 0; step <= steps; ++step) {
    const int a = step > 0 ? maker.Pick(9) : -1;
    const bool replace = a >= 0 && a < 5 && !bars.empty();
    const bool prepend = a == 9 && step % 7 == 0;
    std::vector<BarRow> more;  // none when a is 9 without a prepend
    if (replace) {
      more = {maker.Moved(bars.Row(bars.size() - 1))};
    } else if (a >= 0 && a < 9) {
      more.resize(1 + a % 2);
      for (BarRow& row : more) row = maker.Next();
    } else if (prepend) {
      more = {maker.Next()};
    }
    for (BarData* both : {&bars, &compiler.Bars()}) {
      if (step == 0) continue;
      if (replace) {
        both->ReplaceLast(more[0]);
      } else if (prepend) {
        both->Prepend(more);
      } else {
        both->Append(more);
      }
    }
    Result full;
    Evaluator fresh(bars);
    fresh.m_env.m_period = 1440;
    try {
      full = fresh.EvaluateAll(tree);
    } catch (const Exception&) {
      return 0;  // a function without implementation: not comparable
    }
    const std::string where = text + "\nseed " + std::to_string(seed) + " step " +
                              std::to_string(step) + " (" + std::to_string(bars.size()) + " rows)";
    incremental.Run(tree);
    Result mine = incremental.ToResult();
    const std::string expected = full.JsonString();
    EXPECT_EQ(mine.JsonString(), expected) << where;
    EXPECT_EQ(compiler.Run(), expected) << where << ": the compiler's text";
    const size_t from = incremental.FirstChanged();
    for (size_t k = 0; k < full.out_vars.size() && k < mine.out_vars.size(); ++k) {
      const std::vector<double>& now = mine.out_vars[k].datas;
      EXPECT_EQ(FirstDifference(DataExt(full.out_vars[k].datas), DataExt(now)), kUnchanged)
          << where << ": output " << full.out_vars[k].name << " differs in its bits";
      // Nothing before the reported first changed bar may have moved.
      if (step == 0 || previous.out_vars.size() != mine.out_vars.size()) continue;
      const std::vector<double>& before = previous.out_vars[k].datas;
      const size_t settled = std::min({from, before.size(), now.size()});
      EXPECT_EQ(FirstDifference(DataExt(std::vector<double>(before.begin(), before.begin() + settled)),
                                DataExt(std::vector<double>(now.begin(), now.begin() + settled))),
                kUnchanged)
          << where << ": output " << mine.out_vars[k].name << " changed before the reported bar " << from;
    }
    if (::testing::Test::HasFailure()) return -1;
    previous = std::move(mine);
  }
  return steps + 1;
}

// A random series argument; look-ahead and backward-writing leaves change
// bars before the last.
std::string RandomSeries(BarMaker& m, int depth) {
  static const char* kLeaves[] = {"C", "O", "H", "L", "V", "CLOSE-OPEN", "C>O", "(H+L)/2",
                                  "REFX(C,2)", "BACKSET(C>REF(C,1),3)*C", "C+CURRBARSCOUNT(C)"};
  const int k = m.Pick(depth > 0 ? 14 : 10);
  if (k < 11) return kLeaves[k];
  const std::string inner = RandomSeries(m, depth - 1);
  if (k == 11) return "REF(C," + std::to_string(m.Pick(3)) + ")";
  if (k == 12) return "(" + inner + (m.Pick(1) ? "-" : "*") + RandomSeries(m, depth - 1) + ")";
  if (k == 13) return "MA(" + inner + "," + std::to_string(1 + m.Pick(5)) + ")";
  return "EMA(" + inner + ",3)";
}

// Three formulas per built-in function (RAND draws anew on every run): the
// call with random arguments (series, numbers, a string), used by later lines.
std::vector<std::string> GeneratedFormulas(int per_function) {
  static const char* kNumbers[] = {"0", "1", "2", "3", "5", "9", "20", "2.5", "-1", "0.5"};
  std::vector<std::string> formulas;
  BarMaker m{std::mt19937(7), false};
  for (const auto& [name, counts] : Table::Instance()->Functions()) {
    for (int k = 0; k < per_function && name != "RAND"; ++k) {
      int count = counts[static_cast<size_t>(m.Pick(static_cast<int>(counts.size()) - 1))];
      if (count == Table::kOddCountFromThree) count = 3 + 2 * m.Pick(1);
      std::string call = name + (count ? "(" : "");
      for (int i = 0; i < count; ++i) {
        const int kind = m.Pick(9);
        call += (i ? "," : "") + (kind < 5 ? RandomSeries(m, 1) : kind < 8 ? kNumbers[m.Pick(9)] : "'t'");
      }
      call += count ? ")" : "";
      std::string text = "A:=" + RandomSeries(m, 1) + ";";
      text += Table::Instance()->IsDraw(name) ? call + ";" : "X:" + call + ";Y:X+A;Z:REF(X,1)*2;";
      formulas.push_back(text + "W:MA(A," + std::to_string(1 + m.Pick(4)) + ");");
    }
  }
  return formulas;
}

std::string ReadExample(const std::string& name) {
  std::ifstream file(std::string(FORMULA_SOURCE_DIR) + "/examples/formulas/" + name);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(IncrementalRun, GeneratedFormulasOverEveryFunctionMatchFullRuns) {
  int steps = 0, formulas = 0;
  unsigned seed = 1;
  for (const std::string& text : GeneratedFormulas(3 * Rounds())) {
    // Clean bars on a longer chart; bars with gaps and NaN on a short one.
    for (bool odd : {false, true}) {
      const int done = ReplayTicks(text, seed++, 8, odd, odd ? 3 : 25);
      ASSERT_GE(done, 0);
      steps += done;
      formulas += done > 0;
    }
  }
  EXPECT_GT(formulas, 500);
  EXPECT_GT(steps, 4000);
}

TEST(IncrementalRun, ExamplesAndTheChartSetMatchFullRuns) {
  // Window extremes over ties of 0.0 and -0.0: the oldest of equal extremes
  // is reported, which tells the two zeros apart bit for bit.
  std::vector<std::string> texts = {kChartSet, "ZZ:=IF(C>O,0,0*(0-1));HZ:HHV(ZZ,5);LZ:LLV(ZZ,4);"};
  for (const char* file : {"bollinger.txt", "drawing_showcase.txt", "kdj.txt", "macd.txt",
                           "moving_averages.txt", "rsi.txt", "sar.txt"}) {
    texts.push_back(ReadExample(file));
    ASSERT_FALSE(texts.back().empty()) << file;
  }
  for (const std::string& text : texts) {
    for (unsigned seed = 1; seed <= static_cast<unsigned>(4 * Rounds()); ++seed) {
      ASSERT_EQ(ReplayTicks(text, seed, 60, seed % 2 == 0, seed * 17 % 90), 61);
    }
  }
}

// The first changed bar each change of 100 rows leads to; bars copied over
// or another tree recompute everything.
TEST(IncrementalRun, FirstChangedBarOfEachChange) {
  BarMaker maker{std::mt19937(3), false};
  std::vector<BarRow> rows;
  for (int i = 0; i < 100; ++i) rows.push_back(maker.Next());
  const struct {
    std::string change, formula;
    size_t expected;
  } cases[] = {
      {"replace last", kChartSet, 99},
      {"append two", kChartSet, 100},
      {"append none", kChartSet, kUnchanged},
      {"prepend", kChartSet, 0},
      {"assign", kChartSet, 0},
      {"period", kChartSet, 0},
      {"copied over", "X:MA(C,3);", 0},
      {"another tree", "X:MA(C,3);", 0},
      {"replace last", "X:BACKSET(C>REF(C,1),3);", 97},  // writes up to 2 bars back
      {"append two", "X:CURRBARSCOUNT(C);", 0},          // counts back from the last bar
      {"append two", "X:C*0+5;", 100},
  };
  for (const auto& c : cases) {
    BarData bars(rows);
    std::shared_ptr<AstNode> tree = CheckedTree(c.formula);
    Evaluator evaluator(bars);
    evaluator.Run(tree);
    EXPECT_EQ(evaluator.FirstChanged(), 0u) << c.change;
    const BarRow row = maker.Next();
    if (c.change == "replace last") bars.ReplaceLast(maker.Moved(row));
    if (c.change == "append two") bars.Append({row, maker.Next()});
    if (c.change == "append none") bars.Append(std::vector<BarRow>{});
    if (c.change == "prepend") bars.Prepend({row});
    if (c.change == "assign") bars.Assign(rows);
    if (c.change == "period") evaluator.m_env.m_period = 5;
    if (c.change == "copied over") {
      BarData copy(bars);  // a copy assigned over the bars is another list, whatever it holds
      copy.ReplaceLast(maker.Moved(row));
      bars = copy;
    }
    if (c.change == "another tree") tree = CheckedTree(c.formula);
    evaluator.Run(tree);
    if (c.expected == 97) {
      // BACKSET's bars 97 and 98 change only when the signal moves.
      EXPECT_GE(evaluator.FirstChanged(), 97u) << c.formula;
    } else {
      EXPECT_EQ(evaluator.FirstChanged(), c.expected) << c.change << " " << c.formula;
    }
    EXPECT_EQ(evaluator.ToResult().JsonString(), Outputs(c.formula, bars, evaluator.m_env.m_period).JsonString())
        << c.change;
  }
}

}  // namespace
