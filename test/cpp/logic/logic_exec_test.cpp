// Exec of the logic strategies: dispatch by argument kind (by hand), and
// every Exec with hostile argument combinations, which must return a series
// no longer than the bars (run under the sanitizer build too).

#include <limits>

#include "logic_strategies.h"
#include "series_expect.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

template <typename T>
std::shared_ptr<Strategy> Make() {
  return std::make_shared<T>();
}

TEST(LogicExec, DispatchByArgumentKind) {
  const DataExt a = Series({5, 1, 8}), k = Series({1, 0, 1}), text = DataExt("x");
  const struct {
    const char* what;
    std::shared_ptr<Strategy> strategy;
    std::vector<DataExt> args;
    std::vector<double> expected;
  } cases[] = {
      {"CROSS needs two series", Make<CrossStrategy>(), {a, Number(3)}, {}},
      {"LONGCROSS count",
       Make<LongCrossStrategy>(),
       {Series({1, 3}), Series({2, 2}), Number(1)},
       {INV, 1}},
      {"LONGCROSS negative count is 0",
       Make<LongCrossStrategy>(),
       {Series({1, 3}), Series({2, 2}), Number(-4)},
       {0, 1}},
      {"LONGCROSS string", Make<LongCrossStrategy>(), {a, a, text}, {}},
      {"BETWEEN numbers", Make<BetweenStrategy>(), {a, Number(7), Number(3)}, {1, 0, 0}},
      {"BETWEEN number and series", Make<BetweenStrategy>(), {a, Number(3), Series({8, 8, 8})}, {}},
      {"RANGE number widened to a",
       Make<RangeStrategy>(),
       {a, Number(3), Series({7, 7, 7})},
       {1, 0, 0}},
      {"RANGE string", Make<RangeStrategy>(), {a, text, Number(3)}, {}},
      {"IF number widened to k", Make<IfStrategy>(), {k, Number(5), Series({7, 8, 9})}, {5, 8, 5}},
      {"IF numbers", Make<IfStrategy>(), {k, Number(5), Number(6)}, {5, 6, 5}},
      {"IF number condition", Make<IfStrategy>(), {Number(1), Number(5), Number(6)}, {}},
      {"IF string branch", Make<IfStrategy>(), {k, text, Number(6)}, {}},
      {"IFN number widened to k",
       Make<IfnStrategy>(),
       {k, Number(5), Series({7, 8, 9})},
       {7, 5, 9}},
      {"EVERY negative count is 0", Make<EveryStrategy>(), {k, Number(-1)}, {0, 1, 0}},
      {"EVERY string count", Make<EveryStrategy>(), {k, text}, {}},
      {"EXIST huge count", Make<ExistStrategy>(), {Series({0, 1, 0}), Number(1e300)}, {0, 1, 1}},
      {"EXIST nan count is 0", Make<ExistStrategy>(), {k, Number(kNaN)}, {1, 0, 1}},
      {"NOT number widened to the bars", Make<NotStrategy>(), {Number(0)}, {1, 1, 1}},
      {"LAST number", Make<LastStrategy>(), {Number(1)}, {}},
      {"UPNDAY number", Make<UpNDayStrategy>(), {a, Number(1)}, {0, 0, 1}},
      {"UPNDAY string", Make<UpNDayStrategy>(), {a, text}, {}},
      {"DOWNNDAY series", Make<DownNDayStrategy>(), {a, Series({1, 1, 1})}, {0, 1, 0}},
      {"NDAY number y leaves the zeros",
       Make<NDayStrategy>(),
       {a, Number(10), Number(3)},
       {0, 0, 0}},
      {"VALUEWHEN number condition", Make<ValueWhenStrategy>(), {Number(1), a}, {}},
  };
  Environment env = EnvWithBars(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(c.strategy->Exec(c.args, env, nullptr).m_raw_data, (c.expected));
  }
}

TEST(LogicExec, HostileArgumentsAlwaysReturnASeries) {
  const std::vector<DataExt> values = {
      Series({}),          Series({1, INV}), Series({INV, 1, kNaN, -1, 2}),
      Number(0),           Number(-1),       Number(1e300),
      Number(kNaN),        Number(kInf),     DataExt("x"),
      DataExt(DrawEntry())};
  const std::shared_ptr<Strategy> strategies[] = {
      Make<BetweenStrategy>(), Make<CrossStrategy>(),    Make<DownNDayStrategy>(),
      Make<EveryStrategy>(),   Make<ExistStrategy>(),    Make<IfStrategy>(),
      Make<IfnStrategy>(),     Make<LastStrategy>(),     Make<LongCrossStrategy>(),
      Make<NDayStrategy>(),    Make<NotStrategy>(),      Make<RangeStrategy>(),
      Make<UpNDayStrategy>(),  Make<ValueWhenStrategy>()};
  for (Environment env : {EnvWithBars(0), EnvWithBars(5)}) {
    for (const auto& strategy : strategies) {
      EXPECT_TRUE(strategy->Exec({}, env, nullptr).isListType());
      for (const DataExt& a : values) {
        EXPECT_TRUE(strategy->Exec({a}, env, nullptr).isListType());
        for (const DataExt& b : values) {
          EXPECT_TRUE(strategy->Exec({a, b}, env, nullptr).isListType());
          for (const DataExt& c : values) {
            DataExt got = strategy->Exec({a, b, c}, env, nullptr);
            EXPECT_TRUE(got.isListType());
            EXPECT_LE(got.m_raw_data.size(), 5u);
          }
        }
      }
    }
  }
}

}  // namespace
