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

TEST(DrawNumberDecimals, EveryDecimalIsWrittenUpToTheResultLimit) {
  // 0.5 is exact: its digit, then zeros however many are asked for.
  DataExt got = DrawNumber(Series({1, 0}), Series({11, 12}), Series({0.5, 2}), 2000);
  ASSERT_EQ(got.m_draw_entry.draw_numbers.size(), 2u);
  EXPECT_EQ(got.m_draw_entry.draw_numbers[0].value, "0.5" + std::string(1999, '0'));
  EXPECT_EQ(got.m_draw_entry.draw_numbers[1].value, "");
  // 2^31-1 decimals: nothing to write where no condition holds, and NaN
  // needs no decimals...
  EXPECT_EQ(DrawNumber(Series({0, 0}), Series({1, 2}), Series({1, 2}), INT32_MAX)
                .m_draw_entry.draw_numbers.size(),
            2u);
  DataExt nan = DrawNumber(Series({1}), Series({11}), Series({kNaN}), INT32_MAX);
  EXPECT_EQ(nan.m_draw_entry.draw_numbers.at(0).value, "nan");
  // ...but a number to write is refused before any text is built, as are
  // texts that only together pass the limit (300,000 decimals on 2,000 bars).
  EXPECT_THROW(DrawNumber(Series({0, 1}), Series({1, 2}), Series({1, 2}), INT32_MAX), OutputTooLong);
  const std::vector<double> many(2000, 1.0);
  EXPECT_THROW(DrawNumber(Series(many), Series(many), Series(many), 300000), OutputTooLong);
  EXPECT_NO_THROW(DrawNumber(Series(many), Series(many), Series(many), 2000));
}

TEST(PartLine2Colours, OneTextSharedByEveryBar) {
  const std::vector<double> bars(1000, 1.0);
  DataExt got = PartLine2(Series(bars), {Series(bars), Text("red")});
  const auto& lines = got.m_draw_entry.part_lines;
  ASSERT_EQ(lines.size(), 1000u);
  EXPECT_EQ(lines[0].Color(), "red");
  EXPECT_EQ(lines[0].color.get(), lines[999].color.get());
  // 6,000 bars of a 100 KB colour would take 600 MB of JSON: refused.
  const std::vector<double> more(6000, 1.0);
  const std::string colour(100 * 1024, 'x');
  EXPECT_THROW(PartLine2(Series(more), {Series(more), DataExt(colour)}), OutputTooLong);
}

TEST(ResultLength, RefusedBeforeTheTextIsWritten) {
  // Each PARTLINE2 alone fits (300 MB); the two together do not.
  const std::string colour(100 * 1024, 'x');
  const std::string line = "PARTLINE2(C,C>0,'" + colour + "');";
  const BarData bars = Closes(std::vector<double>(3000, 1.0));
  EXPECT_NO_THROW(Outputs(line, bars));
  Result two = Outputs(line + line, bars);
  EXPECT_THROW(two.JsonString(), OutputTooLong);
  // Compiler::Run passes the refusal on to its caller.
  Compiler compiler(line + line);
  compiler.Bars().Assign(CloseRows(std::vector<double>(3000, 1.0)));
  ASSERT_EQ(compiler.Compile(), "");
  EXPECT_THROW(compiler.Run(), OutputTooLong);
}

}  // namespace
