// Every name the compiler accepts must reach a strategy, so that no formula
// that compiles can end its run with error 10002.

#include <gtest/gtest.h>

#include <typeinfo>

#include "compiler/common.h"
#include "strategy/util/strategy_factory.h"

namespace {

TEST(StrategyFactory, EveryFunctionOfTheTableHasAStrategy) {
  const auto& functions = Table::Instance()->Functions();
  ASSERT_EQ(functions.size(), 130u);
  for (const auto& function : functions) {
    EXPECT_NE(StrategyFactory::StrategyByName(function.first), nullptr) << function.first;
  }
}

TEST(StrategyFactory, AliasesShareOneClass) {
  const std::pair<const char*, const char*> aliases[] = {
      {"C", "CLOSE"}, {"O", "OPEN"},   {"H", "HIGH"}, {"L", "LOW"},  {"V", "VOL"},
      {"COUNT", "COUNT2"}, {"SIGN", "SGN"}, {"EXIST", "ANY"}, {"EVERY", "ALL"}, {"IF", "IFF"},
  };
  for (const auto& [name, alias] : aliases) {
    auto a = StrategyFactory::StrategyByName(name);
    auto b = StrategyFactory::StrategyByName(alias);
    ASSERT_TRUE(a && b) << name;
    EXPECT_EQ(typeid(*a), typeid(*b)) << name << " / " << alias;
  }
  auto ma = StrategyFactory::StrategyByName("MA");
  auto ema = StrategyFactory::StrategyByName("EMA");
  EXPECT_NE(typeid(*ma), typeid(*ema));
}

TEST(StrategyFactory, OnlyExactNamesMatch) {
  for (const char* name : {"close", "CLOSE ", "", "VOLUME", "NULL", "COLORRED"}) {
    EXPECT_EQ(StrategyFactory::StrategyByName(name), nullptr) << "'" << name << "'";
  }
  EXPECT_FALSE(StrategyFactory::match("MA", {}));
  EXPECT_TRUE(StrategyFactory::match("", {""}));
  EXPECT_FALSE(StrategyFactory::match("MA", {""}));
  EXPECT_TRUE(StrategyFactory::match("SGN", {"SIGN", "SGN"}));
}

}  // namespace
