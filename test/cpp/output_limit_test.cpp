// Results too long to return are refused before they are built, and texts
// repeated on every bar are held once.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/result.h"
#include "formula_runner.h"
#include "strategy/draw/draw_number_strategy.h"
#include "strategy/draw/part_line2_strategy.h"
#include "strategy_test_util.h"
#include "util/output_limit.h"

namespace {

// The refusals themselves, through the binding: test/js/45.hardening.test.js.
TEST(DrawNumberDecimals, OnlyTextToWriteCountsAgainstTheLimit) {
  // 2^31-1 decimals: nothing to write where no condition holds, and NaN
  // needs no decimals; 2,000 decimals on 2,000 bars fit.
  EXPECT_EQ(DrawNumber(Series({0, 0}), Series({1, 2}), Series({1, 2}), INT32_MAX)
                .m_draw_entry.draw_numbers.size(),
            2u);
  DataExt nan = DrawNumber(Series({1}), Series({11}), Series({kNaN}), INT32_MAX);
  EXPECT_EQ(nan.m_draw_entry.draw_numbers.at(0).value, "nan");
  const std::vector<double> many(2000, 1.0);
  EXPECT_NO_THROW(DrawNumber(Series(many), Series(many), Series(many), 2000));
}

TEST(PartLine2Colours, OneTextSharedByEveryBar) {
  const std::vector<double> bars(1000, 1.0);
  DataExt got = PartLine2(Series(bars), {Series(bars), Text("red")});
  const auto& lines = got.m_draw_entry.part_lines;
  ASSERT_EQ(lines.size(), 1000u);
  EXPECT_EQ(lines[0].Color(), "red");
  EXPECT_EQ(lines[0].color.get(), lines[999].color.get());
}

}  // namespace
