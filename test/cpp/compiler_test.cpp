// The driver: compile results, the error report, runs and their state.

#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "formula_runner.h"

namespace {

TEST(Compiler, BarsChangedInPlaceAreSeenByTheNextRun) {
  Compiler compiler("X:CLOSE*2;");
  ASSERT_EQ(compiler.Compile(), "");
  compiler.Bars().Assign(CloseRows({1}));
  EXPECT_NE(compiler.Run().find("[2.000000]"), std::string::npos);
  compiler.Bars().Append(CloseRows({4}));
  EXPECT_NE(compiler.Run().find("[2.000000,8.000000]"), std::string::npos);
}

TEST(Compiler, RecompileResetsThePeriod) {
  Compiler compiler("X:PERIOD;");
  ASSERT_EQ(compiler.Compile(), "");
  compiler.Bars().Assign(CloseRows({1}));
  compiler.Period(5);
  EXPECT_NE(compiler.Run().find("\"datas\":[5.000000]"), std::string::npos);
  ASSERT_EQ(compiler.Compile(), "");
  EXPECT_NE(compiler.Run().find("\"datas\":[0.000000]"), std::string::npos);
}

}  // namespace
