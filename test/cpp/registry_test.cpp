// Sweeps driven by the function registry: every function it lists is known
// to the front end with its counts and drawing flag, reaches its own class
// through the factory, and survives hostile arguments.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <typeinfo>

#include "compiler/common.h"
#include "compiler/function_registry.h"
#include "strategy/util/strategy_factory.h"
#include "strategy_test_util.h"
#include "util/output_limit.h"

namespace {

const std::vector<FunctionInfo>& Registry() { return FunctionRegistry(); }

TEST(Registry, FrontEndTableFollowsTheRegistry) {
  std::set<std::string> seen;
  size_t draws = 0;
  for (const FunctionInfo& f : Registry()) {
    for (const std::string& name : f.names) {
      EXPECT_TRUE(seen.insert(name).second) << name << " listed twice";
      EXPECT_EQ(Table::Instance()->IsDraw(name), f.Draws()) << name;
      draws += f.Draws();
    }
  }
  EXPECT_EQ(Table::Instance()->Functions().size(), seen.size());
  EXPECT_EQ(Table::Instance()->Draws().size(), draws);
  // Worked examples of the count ranges: single counts, a range of two, the
  // odd counts, and names that are not functions.
  const std::pair<const char*, std::vector<int>> counts[] = {
      {"C", {0}},          {"NOT", {1}},        {"VALUEWHEN", {2}},  {"SARTURN", {3}},
      {"FINDLOWBARS", {4}}, {"STICKLINE", {5}},  {"DRAWTEXT", {3, 4}}, {"DRAWLINE", {4, 5}},
      {"PARTLINE2", {Table::kOddCountFromThree}}, {"NULL", {}}, {"ma", {}}, {"COLORRED", {}},
  };
  for (const auto& [name, want] : counts) {
    EXPECT_EQ(Table::Instance()->FunctionParamsCount(name), want) << name;
  }
  EXPECT_FALSE(Table::Instance()->IsDraw("COLORRGB"));
  EXPECT_TRUE(Table::Instance()->IsDraw("PARTLINE2"));
}

// Every name reaches an object of its row's class (a class name of n
// characters mangles to "<n><name>"), aliases included; other names, even
// differing only in case or spaces, reach nothing.
TEST(Registry, FactoryCreatesTheRowsClass) {
  for (const FunctionInfo& f : Registry()) {
    const std::string mangled = std::to_string(std::string(f.class_name).size()) + f.class_name;
    for (const std::string& name : f.names) {
      auto strategy = StrategyFactory::StrategyByName(name);
      ASSERT_NE(strategy, nullptr) << name;
      EXPECT_EQ(typeid(*strategy).name(), mangled) << name;
    }
  }
  for (const char* name : {"close", "CLOSE ", "", "VOLUME", "NULL", "COLORRED"}) {
    EXPECT_EQ(StrategyFactory::StrategyByName(name), nullptr) << "'" << name << "'";
  }
  EXPECT_FALSE(StrategyFactory::match("MA", {}));
  EXPECT_TRUE(StrategyFactory::match("", {""}));
  EXPECT_FALSE(StrategyFactory::match("MA", {""}));
  EXPECT_TRUE(StrategyFactory::match("SGN", {"SIGN", "SGN"}));
}

// No result may be longer than the longest series or bar count it could have
// come from; the sanitizer build turns any read outside a series or any
// undefined conversion into a failure.
void ExpectBounded(const FunctionInfo& f, const DataExt& got, size_t bars) {
  const size_t limit = std::max(kLongestHostileSeries, bars);
  const DrawEntry& d = got.m_draw_entry;
  for (size_t size : {got.m_raw_data.size(), d.draw_kline_datas.size(), d.draw_positions.size(),
                      d.part_lines.size(), d.draw_numbers.size(), d.draw_sls.size(),
                      d.stick_lines.size()}) {
    ASSERT_LE(size, limit) << f.names[0];
  }
  // A value function never hands a drawing record to the evaluator.
  if (!f.Draws()) {
    ASSERT_NE(got.m_type, DRAW_TYPE) << f.names[0];
  }
}

// Refusing a result too long to return (DRAWNUMBER with 2^31-1 decimals)
// is a valid outcome: it reads as the empty value here.
DataExt ExecOrRefused(Strategy& strategy, std::vector<DataExt> args, Environment& env) {
  try {
    return strategy.Exec(std::move(args), env, nullptr);
  } catch (const OutputTooLong&) {
    return DataExt();
  }
}

// Up to three arguments: every combination of hostile values. From four on:
// all arguments the same hostile value, and each position hostile among
// usable series or texts.
TEST(Registry, HostileArgumentsAlwaysReturn) {
  const std::vector<DataExt>& values = HostileValues();
  for (const FunctionInfo& f : Registry()) {
    auto strategy = StrategyFactory::StrategyByName(f.names[0]);
    const size_t most = f.max_args == kOddFromThree ? 7 : static_cast<size_t>(f.max_args) + 1;
    for (size_t bars : {size_t{0}, size_t{5}}) {
      BarsEnv context(bars);
      Environment& env = context.env;
      for (size_t count = 0; count <= most; ++count) {
        if (count <= 3) {
          std::vector<size_t> pick(count, 0);
          for (bool more = true; more;) {
            std::vector<DataExt> args;
            for (size_t k : pick) args.push_back(values[k]);
            ExpectBounded(f, ExecOrRefused(*strategy, args, env), bars);
            more = false;  // next combination, like an odometer
            for (size_t k = 0; k < count && !more; ++k) {
              more = ++pick[k] < values.size();
              if (!more) pick[k] = 0;
            }
          }
          continue;
        }
        for (const DataExt& value : values) {
          ExpectBounded(f, ExecOrRefused(*strategy, std::vector<DataExt>(count, value), env), bars);
          for (size_t at = 0; at < count; ++at) {
            for (const DataExt& rest : {Series({1, 2, 3}), Text("red")}) {
              std::vector<DataExt> args(count, rest);
              args[at] = value;
              ExpectBounded(f, ExecOrRefused(*strategy, args, env), bars);
            }
          }
        }
      }
    }
  }
}

}  // namespace
