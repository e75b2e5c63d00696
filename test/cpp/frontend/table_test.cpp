#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/common.h"

namespace {

const Table& T() { return *Table::Instance(); }

TEST(TableTest, SizesAndDisjointSets) {
  EXPECT_EQ(Table::Instance(), Table::Instance());
  EXPECT_EQ(T().Functions().size(), 130u);
  EXPECT_EQ(T().Draws().size(), 13u);
  EXPECT_EQ(T().Statics().size(), 2u);
  EXPECT_EQ(T().Properties().size(), 29u);
  for (const auto& draw : T().Draws()) {
    EXPECT_TRUE(T().IsFunction(draw.first)) << draw.first;
    EXPECT_EQ(T().FunctionParamsCount(draw.first), draw.second) << draw.first;
  }
  for (const auto& function : T().Functions()) {
    EXPECT_FALSE(T().IsStatic(function.first) || T().IsProperty(function.first)) << function.first;
    EXPECT_FALSE(function.second.empty()) << function.first;
  }
  for (const auto& property : T().Properties()) EXPECT_FALSE(T().IsStatic(property.first));
}

TEST(TableTest, Lookups) {
  struct Kind {
    std::string name;
    bool function, draw, is_static, property;
  };
  const std::vector<Kind> cases = {
      {"MA", true, false, false, false},       {"ma", false, false, false, false},
      {"DRAWLINE", true, true, false, false},  {"NULL", false, false, true, false},
      {"COLORRED", false, false, false, true}, {"LINETHICK0", false, false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(T().IsFunction(c.name), c.function) << c.name;
    EXPECT_EQ(T().IsDraw(c.name), c.draw) << c.name;
    EXPECT_EQ(T().IsStatic(c.name), c.is_static) << c.name;
    EXPECT_EQ(T().IsProperty(c.name), c.property) << c.name;
  }
}

TEST(TableTest, AllowedArgumentCounts) {
  struct Counts {
    std::string name;
    std::vector<int> counts;
  };
  const std::vector<Counts> cases = {
      {"C", {0}},          {"YEAR", {0}},       {"NOT", {1}},         {"CONST", {1}},
      {"MA", {2}},         {"VALUEWHEN", {2}},  {"VERTLINE", {2}},    {"SMA", {3}},
      {"SARTURN", {3}},    {"FINDLOWBARS", {4}}, {"DRAWNUMBER", {4}}, {"STICKLINE", {5}},
      {"DRAWICON", {3, 4}}, {"DRAWTEXT", {3, 4}}, {"DRAWLINE", {4, 5}}, {"PARTLINE2", {-1}},
      {"NULL", {}},        {"ma", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(T().FunctionParamsCount(c.name), c.counts) << c.name;
}

}  // namespace
