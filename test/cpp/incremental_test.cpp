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
  int rounds = text ? std::atoi(text) : 1;
  return rounds > 0 ? rounds : 1;
}

// Bars of a random walk; now and then a value without a value (-100000) or
// NaN when `odd` is set.
class BarMaker {
 public:
  explicit BarMaker(unsigned seed, bool odd) : m_random(seed), m_odd(odd) {}

  BarRow Next() {
    std::uniform_real_distribution<double> step(-0.03, 0.03);
    m_close *= 1.0 + step(m_random);
    BarRow row;
    row.open = m_close * (1.0 + step(m_random) / 3);
    row.close = m_close;
    row.high = std::max(row.open, row.close) * 1.01;
    row.low = std::min(row.open, row.close) * 0.99;
    row.vol = std::floor(1000 + 1000 * (step(m_random) + 0.03));
    row.time = 1.6e12 + 86400000.0 * m_count++;
    if (m_odd) {
      std::uniform_int_distribution<int> pick(0, 40);
      int k = pick(m_random);
      if (k == 0) row.close = kInvalidValue;
      if (k == 1) row.high = std::nan("");
      if (k == 2) row.close = row.open;  // a flat bar: comparisons flip
    }
    return row;
  }
  // The same bar with another close: small, or large enough to cross levels.
  BarRow Moved(BarRow row) {
    std::uniform_int_distribution<int> pick(0, 5);
    int k = pick(m_random);
    double factor = k == 0 ? 1.2 : k == 1 ? 0.8 : 1.0 + (k - 3) * 0.001;
    row.close = row.close == kInvalidValue ? m_close : row.close * factor;
    row.high = std::max(row.high, row.close);
    row.low = std::min(row.low, row.close);
    if (m_odd && k == 5) row.close = kInvalidValue;
    return row;
  }
  std::mt19937& Random() { return m_random; }

 private:
  std::mt19937 m_random;
  bool m_odd;
  double m_close = 100.0;
  size_t m_count = 0;
};

struct Replay {
  int steps = 0;
  std::string failure;  // empty when every step matched
};

// Runs `text` incrementally over rows changed `steps` times at random and
// compares each run with a fresh full evaluation.
Replay ReplayTicks(const std::string& text, unsigned seed, int steps, bool odd,
                   size_t first_rows) {
  Replay replay;
  std::shared_ptr<AstNode> tree;
  try {
    tree = CheckedTree(text);
  } catch (const Exception&) {
    return replay;  // not a formula of the language: nothing to compare
  }
  BarMaker maker(seed, odd);
  BarData bars;
  std::vector<BarRow> rows;
  for (size_t i = 0; i < first_rows; ++i) rows.push_back(maker.Next());
  bars.Assign(rows);
  Evaluator incremental(bars);
  incremental.m_env.m_period = 1440;
  // The compiler's text after each change: its own incremental run, and the
  // text of the unchanged bars copied from its previous text.
  Compiler compiler(text);
  compiler.Compile();
  compiler.Bars().Assign(rows);
  compiler.Period(1440);
  Result previous;
  std::uniform_int_distribution<int> action(0, 9);
  for (int step = 0; step <= steps; ++step) {
    if (step > 0) {
      const int a = action(maker.Random());
      const bool replace = a < 5 && !bars.empty();
      const bool prepend = a == 9 && step % 7 == 0;
      std::vector<BarRow> more;  // none when a is 9 without a prepend
      if (replace) {
        more = {maker.Moved(bars.Row(bars.size() - 1))};
      } else if (a < 9) {
        more.resize(1 + a % 2);
        for (BarRow& row : more) row = maker.Next();
      } else if (prepend) {
        more = {maker.Next()};
      }
      for (BarData* both : {&bars, &compiler.Bars()}) {
        if (replace) {
          both->ReplaceLast(more[0]);
        } else if (prepend) {
          both->Prepend(more);
        } else {
          both->Append(more);
        }
      }
    }
    Result full;
    Evaluator fresh(bars);
    fresh.m_env.m_period = 1440;
    try {
      full = fresh.EvaluateAll(tree);
    } catch (const Exception&) {
      return replay;  // a function without implementation: not comparable
    }
    try {
      incremental.Run(tree);
    } catch (const Exception& error) {
      replay.failure = "step " + std::to_string(step) + ": the incremental run threw " + error.ToString();
      return replay;
    }
    Result mine = incremental.ToResult();
    std::string where = "step " + std::to_string(step) + " (" + std::to_string(bars.size()) + " rows)";
    const std::string expected = full.JsonString();
    if (mine.JsonString() != expected) {
      replay.failure = where + ": text differs";
      return replay;
    }
    if (compiler.Run() != expected) {
      replay.failure = where + ": the compiler's text differs";
      return replay;
    }
    for (size_t k = 0; k < full.out_vars.size(); ++k) {
      DataExt a(full.out_vars[k].datas), b(mine.out_vars[k].datas);
      if (FirstDifference(a, b) != kUnchanged) {
        replay.failure = where + ": output " + full.out_vars[k].name + " differs in its bits";
        return replay;
      }
    }
    // Nothing before the reported first changed bar may have moved.
    size_t from = incremental.FirstChanged();
    if (step > 0 && previous.out_vars.size() == mine.out_vars.size()) {
      for (size_t k = 0; k < mine.out_vars.size(); ++k) {
        const std::vector<double>& before = previous.out_vars[k].datas;
        const std::vector<double>& now = mine.out_vars[k].datas;
        size_t settled = std::min({from, before.size(), now.size()});
        DataExt a(std::vector<double>(before.begin(), before.begin() + settled));
        DataExt b(std::vector<double>(now.begin(), now.begin() + settled));
        if (FirstDifference(a, b) != kUnchanged) {
          replay.failure = where + ": output " + mine.out_vars[k].name +
                           " changed before the reported bar " + std::to_string(from);
          return replay;
        }
      }
    }
    previous = std::move(mine);
    replay.steps++;
  }
  return replay;
}

// ---- Random formulas over every function -------------------------------------

class FormulaMaker {
 public:
  explicit FormulaMaker(unsigned seed) : m_random(seed) {}

  std::string Series(int depth) {
    // Look-ahead and backward-writing leaves change bars before the last.
    static const char* kLeaves[] = {"C",       "O",       "H",          "L",
                                    "V",       "CLOSE-OPEN", "C>O",     "(H+L)/2",
                                    "REFX(C,2)", "BACKSET(C>REF(C,1),3)*C", "C+CURRBARSCOUNT(C)"};
    constexpr int kLeafCount = 11;
    int k = Pick(depth > 0 ? kLeafCount + 3 : kLeafCount - 1);
    if (k < kLeafCount) return kLeaves[k];
    k -= kLeafCount - 8;
    if (k == 8) return "REF(C," + std::to_string(Pick(3)) + ")";
    if (k == 9) return "(" + Series(depth - 1) + (Pick(1) ? "-" : "*") + Series(depth - 1) + ")";
    if (k == 10) return "MA(" + Series(depth - 1) + "," + std::to_string(1 + Pick(5)) + ")";
    return "EMA(" + Series(depth - 1) + ",3)";
  }
  std::string Number() {
    static const char* kNumbers[] = {"0", "1", "2", "3", "5", "9", "20", "2.5", "-1", "0.5"};
    return kNumbers[Pick(9)];
  }
  std::string Argument(int depth) {
    int k = Pick(9);
    if (k < 5) return Series(depth);
    if (k < 8) return Number();
    return "'t'";
  }
  // One call of `name` with `count` arguments.
  std::string Call(const std::string& name, int count) {
    if (count == 0) return name;
    std::string text = name + "(";
    for (int i = 0; i < count; ++i) {
      if (i) text += ",";
      text += Argument(1);
    }
    return text + ")";
  }
  int Pick(int high) { return std::uniform_int_distribution<int>(0, high)(m_random); }

 private:
  std::mt19937 m_random;
};

std::vector<std::string> GeneratedFormulas(int per_function) {
  std::vector<std::string> formulas;
  FormulaMaker maker(7);
  for (const auto& [name, counts] : Table::Instance()->Functions()) {
    if (name == "RAND") continue;  // a new draw on every run
    for (int k = 0; k < per_function; ++k) {
      int count = counts[static_cast<size_t>(maker.Pick(static_cast<int>(counts.size()) - 1))];
      if (count == Table::kOddCountFromThree) count = 3 + 2 * maker.Pick(1);
      std::string call = maker.Call(name, count);
      bool draws = Table::Instance()->IsDraw(name);
      std::string text = "A:=" + maker.Series(1) + ";";
      text += draws ? call + ";" : "X:" + call + ";Y:X+A;Z:REF(X,1)*2;";
      text += "W:MA(A," + std::to_string(1 + maker.Pick(4)) + ");";
      formulas.push_back(text);
    }
  }
  return formulas;
}

std::string ReadExample(const std::string& name) {
  std::string here = __FILE__;
  // The source path as the compiler saw it (relative to the build folder
  // when the build runs through a compiler cache), else the working folder.
  for (std::string root : {here.substr(0, here.rfind("test/cpp/")), std::string("./")}) {
    std::ifstream file(root + "examples/formulas/" + name);
    if (!file) continue;
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  return std::string();
}

// ---- Tests -------------------------------------------------------------------

TEST(IncrementalRun, GeneratedFormulasOverEveryFunctionMatchFullRuns) {
  const int rounds = Rounds();
  int steps = 0;
  int formulas = 0;
  unsigned seed = 1;
  for (const std::string& text : GeneratedFormulas(3 * rounds)) {
    // Clean bars, and bars with gaps and NaN values; short and longer charts.
    for (bool odd : {false, true}) {
      Replay replay = ReplayTicks(text, seed++, 8, odd, odd ? 3 : 25);
      ASSERT_TRUE(replay.failure.empty()) << text << "\n" << replay.failure;
      steps += replay.steps;
      formulas += replay.steps > 0;
    }
  }
  EXPECT_GT(formulas, 500);
  EXPECT_GT(steps, 4000);
}

TEST(IncrementalRun, ExamplesAndTheChartSetMatchFullRuns) {
  struct Case {
    std::string name;
    std::string text;
  };
  std::vector<Case> cases = {{"chart set", kChartSet}};
  for (const char* file : {"bollinger.txt", "drawing_showcase.txt", "kdj.txt", "macd.txt",
                           "moving_averages.txt", "rsi.txt", "sar.txt"}) {
    cases.push_back({file, ReadExample(file)});
    ASSERT_FALSE(cases.back().text.empty()) << file;
  }
  for (const Case& c : cases) {
    for (unsigned seed = 1; seed <= static_cast<unsigned>(4 * Rounds()); ++seed) {
      Replay replay = ReplayTicks(c.text, seed, 60, seed % 2 == 0, seed * 17 % 90);
      ASSERT_TRUE(replay.failure.empty()) << c.name << " seed " << seed << "\n" << replay.failure;
      EXPECT_EQ(replay.steps, 61) << c.name;
    }
  }
}

// The first changed bar each change of the rows leads to.
TEST(IncrementalRun, FirstChangedBarOfEachChange) {
  BarMaker maker(3, false);
  std::vector<BarRow> rows;
  for (int i = 0; i < 100; ++i) rows.push_back(maker.Next());
  struct Case {
    const char* change;
    std::string formula;
    size_t expected;  // for 100 rows before the change
  };
  const std::vector<Case> cases = {
      {"replace last", kChartSet, 99},
      {"append two", kChartSet, 100},
      {"append none", kChartSet, kUnchanged},
      {"prepend", kChartSet, 0},
      {"assign", kChartSet, 0},
      {"period", kChartSet, 0},
      {"replace last", "X:BACKSET(C>REF(C,1),3);", 97},  // writes up to 2 bars back
      {"append two", "X:CURRBARSCOUNT(C);", 0},          // counts back from the last bar
      {"append two", "X:C*0+5;", 100},
  };
  for (const Case& c : cases) {
    BarData bars(rows);
    Evaluator evaluator(bars);
    std::shared_ptr<AstNode> tree;
    try {
      tree = CheckedTree(c.formula);
    } catch (const Exception& error) {
      ADD_FAILURE() << c.formula << ": " << error.ToString();
      continue;
    }
    evaluator.Run(tree);
    EXPECT_EQ(evaluator.FirstChanged(), 0u) << c.change;
    std::string change = c.change;
    BarRow row = maker.Next();
    if (change == "replace last") bars.ReplaceLast(maker.Moved(row));
    if (change == "append two") bars.Append({row, maker.Next()});
    if (change == "append none") bars.Append(std::vector<BarRow>{});
    if (change == "prepend") bars.Prepend({row});
    if (change == "assign") bars.Assign(rows);
    if (change == "period") evaluator.m_env.m_period = 5;
    evaluator.Run(tree);
    size_t first = evaluator.FirstChanged();
    if (c.expected == 97) {
      // Bars 97 and 98 change only when the signal moves; kUnchanged when
      // the new close left it as it was.
      EXPECT_GE(first, 97u) << c.formula;
    } else {
      EXPECT_EQ(first, c.expected) << c.change << " " << c.formula;
    }
  }
}

TEST(IncrementalRun, CopiedOverBarsOrAnotherTreeRecomputeEverything) {
  BarMaker maker(5, false);
  std::vector<BarRow> rows;
  for (int i = 0; i < 30; ++i) rows.push_back(maker.Next());
  BarData bars(rows);
  Evaluator evaluator(bars);
  std::shared_ptr<AstNode> tree = CheckedTree("X:MA(C,3);");
  evaluator.Run(tree);
  // A copy assigned over the bars is another list, whatever it holds.
  BarData copy(bars);
  copy.ReplaceLast(maker.Moved(maker.Next()));
  bars = copy;
  evaluator.Run(tree);
  EXPECT_EQ(evaluator.FirstChanged(), 0u);
  EXPECT_EQ(evaluator.ToResult().JsonString(), Outputs("X:MA(C,3);", copy).JsonString());
  std::shared_ptr<AstNode> other = CheckedTree("X:MA(C,3);");
  evaluator.Run(other);
  EXPECT_EQ(evaluator.FirstChanged(), 0u);
}

}  // namespace
