#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "frontend_helpers.h"

namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  out.reserve(piece.size() * static_cast<size_t>(times));
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

std::string Nested(const std::string& open, int levels, const std::string& inner) {
  return Repeat(open, levels) + inner + Repeat(")", levels);
}

TEST(NestingLimitTest, TwoHundredFiftySixLevelsPassOneMoreIsRefused) {
  const int limit = Parser::kMaxNestingDepth;
  ASSERT_EQ(limit, 256);
  const std::vector<ReportCase> cases = {
      {"A:" + Nested("(", 256, "1") + ";", ""},
      {"A:" + Nested("(", 257, "1") + ";", Report(1, 2 + 256, 10006, "(")},
      {"A:" + Nested("ABS(", 256, "1") + ";", ""},
      {"A:" + Nested("ABS(", 257, "1") + ";", Report(1, 2 + 4 * 256, 10006, "ABS")},
      // A call that forms the statement is the first level.
      {Nested("ABS(", 256, "1") + ";", ""},
      {Nested("ABS(", 257, "1") + ";", Report(1, 4 * 256, 10006, "ABS")},
      // Groups and calls count together along one path.
      {"A:" + Repeat("(ABS(", 128) + "1" + Repeat("))", 128) + ";", ""},
      {"A:(" + Repeat("(ABS(", 128) + "1" + Repeat("))", 128) + ");",
       Report(1, 3 + 5 * 127 + 1, 10006, "ABS")},
      // A function written without parentheses opens no level.
      {"A:" + Nested("(", 256, "C") + ";", ""},
      // Siblings do not add up.
      {"A:" + Repeat(Nested("(", 200, "1") + "+", 3) + "1;", ""},
      {"A:MAX(" + Nested("(", 255, "1") + "," + Nested("(", 255, "1") + ");", ""},
      {"A:1;\nB:" + Nested("(", 257, "1") + ";", Report(2, 2 + 256, 10006, "(")},
  };
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(Check(cases[i].formula), cases[i].report) << i;
}

TEST(LongInputTest, FlatChainsOfAHundredThousandTerms) {
  const int terms = 100000;
  const std::string products = Repeat("A*", terms - 1);
  const std::vector<ReportCase> cases = {
      {"A:" + Repeat("1+", terms - 1) + "1;", ""},
      {"A:=C; B:" + products + "A;", ""},
      {"A:" + Repeat("1 AND ", terms - 1) + "1 OR 2>1;", ""},
      // The last term fails, so every pass walks the whole chain.
      {"A:=C; B:" + products + "Q;", Report(1, 8 + 2 * (terms - 1), 10001, "Q")},
      {"B:" + Repeat("C+", terms - 1) + "MA(C);", Report(1, 2 + 2 * (terms - 1), 90000, "MA")},
      {"B:" + Repeat("C+", terms - 1) + ";", Report(1, 2 + 2 * (terms - 1), 10006, ";")},
  };
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(Check(cases[i].formula), cases[i].report) << i;
}

TEST(LongInputTest, TwoMegabyteFormulaReportsItsLastLine) {
  const int lines = 200000;
  std::string text = Repeat("X:=C*2+1;\n", lines) + "Y:Z;";
  EXPECT_EQ(Check(text), Report(lines + 1, 2, 10001, "Z"));
}

}  // namespace
