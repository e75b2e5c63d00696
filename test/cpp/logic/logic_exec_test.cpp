// Argument dispatch of the logic strategies by argument kind, and a sweep of
// hostile argument combinations through every Exec of the family: each call
// must return a series no longer than its inputs (run it under the
// sanitizer build too).

#include <limits>
#include <memory>

#include "series_expect.h"
#include "strategy/logic/between_strategy.h"
#include "strategy/logic/cross_strategy.h"
#include "strategy/logic/down_nday_strategy.h"
#include "strategy/logic/every_strategy.h"
#include "strategy/logic/exist_strategy.h"
#include "strategy/logic/if_strategy.h"
#include "strategy/logic/ifn_strategy.h"
#include "strategy/logic/last_strategy.h"
#include "strategy/logic/long_cross_strategy.h"
#include "strategy/logic/nday_strategy.h"
#include "strategy/logic/not_strategy.h"
#include "strategy/logic/range_strategy.h"
#include "strategy/logic/up_nday_strategy.h"
#include "strategy/logic/value_when_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

Environment EnvWithBars(size_t count) {
  Environment env;
  env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(count));
  return env;
}

struct DispatchCase {
  const char* what;
  std::shared_ptr<Strategy> strategy;
  std::vector<DataExt> args;
  std::vector<double> expected;
};

TEST(LogicExec, DispatchByArgumentKind) {
  const DataExt a = Series({5, 1, 8});
  const DataExt k = Series({1, 0, 1});
  const DataExt text = DataExt("x");
  const DispatchCase cases[] = {
      {"CROSS needs two series", std::make_shared<CrossStrategy>(), {a, Number(3)}, {}},
      {"LONGCROSS count", std::make_shared<LongCrossStrategy>(), {Series({1, 3}), Series({2, 2}), Number(1)}, {INV, 1}},
      {"LONGCROSS negative count is 0", std::make_shared<LongCrossStrategy>(), {Series({1, 3}), Series({2, 2}), Number(-4)}, {0, 1}},
      {"LONGCROSS string", std::make_shared<LongCrossStrategy>(), {a, a, text}, {}},
      {"BETWEEN numbers", std::make_shared<BetweenStrategy>(), {a, Number(7), Number(3)}, {1, 0, 0}},
      {"BETWEEN series", std::make_shared<BetweenStrategy>(), {a, Series({3, 3, 3}), Series({8, 8, 8})}, {1, 0, 1}},
      {"BETWEEN number and series", std::make_shared<BetweenStrategy>(), {a, Number(3), Series({8, 8, 8})}, {}},
      {"RANGE number widened to a", std::make_shared<RangeStrategy>(), {a, Number(3), Series({7, 7, 7})}, {1, 0, 0}},
      {"RANGE string", std::make_shared<RangeStrategy>(), {a, text, Number(3)}, {}},
      {"RANGE two strings", std::make_shared<RangeStrategy>(), {a, text, text}, {}},
      {"IF number widened to k", std::make_shared<IfStrategy>(), {k, Number(5), Series({7, 8, 9})}, {5, 8, 5}},
      {"IF numbers", std::make_shared<IfStrategy>(), {k, Number(5), Number(6)}, {5, 6, 5}},
      {"IF number condition", std::make_shared<IfStrategy>(), {Number(1), Number(5), Number(6)}, {}},
      {"IF string branch", std::make_shared<IfStrategy>(), {k, text, Number(6)}, {}},
      {"IFN number widened to k", std::make_shared<IfnStrategy>(), {k, Number(5), Series({7, 8, 9})}, {7, 5, 9}},
      {"EVERY negative count is 0", std::make_shared<EveryStrategy>(), {k, Number(-1)}, {0, 1, 0}},
      {"EVERY string count", std::make_shared<EveryStrategy>(), {k, text}, {}},
      {"EXIST huge count", std::make_shared<ExistStrategy>(), {Series({0, 1, 0}), Number(1e300)}, {0, 1, 1}},
      {"EXIST nan count is 0", std::make_shared<ExistStrategy>(), {k, Number(kNaN)}, {1, 0, 1}},
      {"NOT number widened to the bars", std::make_shared<NotStrategy>(), {Number(0)}, {1, 1, 1}},
      {"NOT invalid number", std::make_shared<NotStrategy>(), {Number(INV)}, {INV, INV, INV}},
      {"LAST number", std::make_shared<LastStrategy>(), {Number(1)}, {}},
      {"UPNDAY number", std::make_shared<UpNDayStrategy>(), {a, Number(1)}, {0, 0, 1}},
      {"UPNDAY string", std::make_shared<UpNDayStrategy>(), {a, text}, {}},
      {"DOWNNDAY series", std::make_shared<DownNDayStrategy>(), {a, Series({1, 1, 1})}, {0, 1, 0}},
      {"NDAY number y leaves the zeros", std::make_shared<NDayStrategy>(), {a, Number(10), Number(3)}, {0, 0, 0}},
      {"NDAY string count", std::make_shared<NDayStrategy>(), {a, a, text}, {}},
      {"VALUEWHEN number condition", std::make_shared<ValueWhenStrategy>(), {Number(1), a}, {}},
  };
  Environment env = EnvWithBars(3);
  for (const DispatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    DataExt got = c.strategy->Exec(c.args, env, nullptr);
    EXPECT_TRUE(got.isListType());
    EXPECT_SERIES(got.m_raw_data, (c.expected));
  }
}

std::vector<std::unique_ptr<Strategy>> AllLogicStrategies() {
  std::vector<std::unique_ptr<Strategy>> all;
  all.push_back(std::make_unique<BetweenStrategy>());
  all.push_back(std::make_unique<CrossStrategy>());
  all.push_back(std::make_unique<DownNDayStrategy>());
  all.push_back(std::make_unique<EveryStrategy>());
  all.push_back(std::make_unique<ExistStrategy>());
  all.push_back(std::make_unique<IfStrategy>());
  all.push_back(std::make_unique<IfnStrategy>());
  all.push_back(std::make_unique<LastStrategy>());
  all.push_back(std::make_unique<LongCrossStrategy>());
  all.push_back(std::make_unique<NDayStrategy>());
  all.push_back(std::make_unique<NotStrategy>());
  all.push_back(std::make_unique<RangeStrategy>());
  all.push_back(std::make_unique<UpNDayStrategy>());
  all.push_back(std::make_unique<ValueWhenStrategy>());
  return all;
}

TEST(LogicExec, HostileArgumentsAlwaysReturnASeries) {
  const std::vector<DataExt> values = {
      Series({}),   Series({1, INV}),     Series({INV, 1, kNaN, -1, 2}),
      Number(0),    Number(-1),           Number(1e300),
      Number(kNaN), Number(kInf),         DataExt("text"),
      DataExt(DrawEntry())};
  Environment envs[] = {EnvWithBars(0), EnvWithBars(5)};
  for (Environment& env : envs) {
    for (auto& strategy : AllLogicStrategies()) {
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
