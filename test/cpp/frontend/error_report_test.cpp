#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/exception.h"
#include "frontend_helpers.h"

namespace {

TEST(ErrorReportTest, EveryMessageEndsWithABlank) {
  for (const ErrorType& type :
       {ERR_VARIABLE_NOT_DECLARED, ERR_LOSS_METHOD_IMPL, ERR_RIGHT_PAREN_REQUIRED,
        ERR_ILLEGAL_CHARACTER, ERR_ILLEGAL_EXPRESSION, ERR_ILLEGAL_STATEMENT,
        ERR_PARAM_COUNT_MISMATCH}) {
    std::string text = type.text;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), ' ') << type.code;
    // The hand-written reports of these tests agree with the constants.
    EXPECT_EQ(Exception(4, 5, type, "x").ToString(), Report(4, 5, type.code, "x"));
  }
}

}  // namespace
