// Exec of the logic strategies: the argument-kind decisions (by hand), and
// every Exec with hostile argument combinations.

#include "logic_strategies.h"

namespace {

TEST(LogicExec, DispatchByArgumentKind) {
  const DataExt a = Series({5, 1, 8}), k = Series({1, 0, 1}), text = Text("x");
  const struct {
    const char* what;
    Maker make;
    std::vector<DataExt> args;
    std::vector<double> expected;
  } cases[] = {
      {"CROSS needs two series", &Make<CrossStrategy>, {a, Number(3)}, {}},
      {"LONGCROSS count", &Make<LongCrossStrategy>, {Series({1, 3}), Series({2, 2}), Number(1)},
       {INV, 1}},
      {"LONGCROSS negative count is 0", &Make<LongCrossStrategy>,
       {Series({1, 3}), Series({2, 2}), Number(-4)}, {0, 1}},
      {"BETWEEN numbers", &Make<BetweenStrategy>, {a, Number(7), Number(3)}, {1, 0, 0}},
      {"BETWEEN number and series", &Make<BetweenStrategy>, {a, Number(3), Series({8, 8, 8})}, {}},
      {"RANGE number widened to a", &Make<RangeStrategy>, {a, Number(3), Series({7, 7, 7})},
       {1, 0, 0}},
      {"RANGE string", &Make<RangeStrategy>, {a, text, Number(3)}, {}},
      {"IF number widened to k", &Make<IfStrategy>, {k, Number(5), Series({7, 8, 9})}, {5, 8, 5}},
      {"IF numbers", &Make<IfStrategy>, {k, Number(5), Number(6)}, {5, 6, 5}},
      {"IF number condition", &Make<IfStrategy>, {Number(1), Number(5), Number(6)}, {}},
      {"IFN number widened to k", &Make<IfnStrategy>, {k, Number(5), Series({7, 8, 9})},
       {7, 5, 9}},
      {"EVERY negative count is 0", &Make<EveryStrategy>, {k, Number(-1)}, {0, 1, 0}},
      {"EXIST huge count", &Make<ExistStrategy>, {Series({0, 1, 0}), Number(1e300)}, {0, 1, 1}},
      {"NOT number widened to the bars", &Make<NotStrategy>, {Number(0)}, {1, 1, 1}},
      {"UPNDAY number is not truncated", &Make<UpNDayStrategy>, {a, Number(0.5)}, {0, 0, 1}},
      {"DOWNNDAY series", &Make<DownNDayStrategy>, {a, Series({1, 1, 1})}, {0, 1, 0}},
      {"NDAY number y leaves the zeros", &Make<NDayStrategy>, {a, Number(10), Number(3)},
       {0, 0, 0}},
  };
  Environment env = EnvWithBars(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(c.make()->Exec(c.args, env, nullptr).m_raw_data, (c.expected));
  }
}

TEST(LogicExec, HostileArgumentsAlwaysReturnASeries) {
  ExpectHostileArgumentsReturn({
      {"BETWEEN", &Make<BetweenStrategy>, 3},   {"CROSS", &Make<CrossStrategy>, 2},
      {"DOWNNDAY", &Make<DownNDayStrategy>, 2}, {"EVERY", &Make<EveryStrategy>, 2},
      {"EXIST", &Make<ExistStrategy>, 2},       {"IF", &Make<IfStrategy>, 3},
      {"IFN", &Make<IfnStrategy>, 3},           {"LAST", &Make<LastStrategy>, 1},
      {"LONGCROSS", &Make<LongCrossStrategy>, 3}, {"NDAY", &Make<NDayStrategy>, 3},
      {"NOT", &Make<NotStrategy>, 1},           {"RANGE", &Make<RangeStrategy>, 3},
      {"UPNDAY", &Make<UpNDayStrategy>, 2},     {"VALUEWHEN", &Make<ValueWhenStrategy>, 2},
  });
}

}  // namespace
