#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/exception.h"
#include "frontend_helpers.h"

namespace {

TEST(ErrorReportTest, ExactText) {
  struct Case {
    Exception error;
    std::string text;
  };
  const std::vector<Case> cases = {
      {Exception(1, 14, ERR_ILLEGAL_STATEMENT, ")"),
       "{ \"line\" : 1, \"column\" : 14, \"err_code\" : 10007, \"err_exp\" : "
       "\"Illegal statement. \", \"desc\" : \")\" }"},
      {Exception(0, 0, ERR_LOSS_METHOD_IMPL, "MA"),
       "{ \"line\" : 0, \"column\" : 0, \"err_code\" : 10002, \"err_exp\" : "
       "\"Method not implemented error. \", \"desc\" : \"MA\" }"},
      {Exception(2, 3, ERR_VARIABLE_NOT_DECLARED, ""),
       "{ \"line\" : 2, \"column\" : 3, \"err_code\" : 10001, \"err_exp\" : "
       "\"Variable not declared. \", \"desc\" : \"\" }"},
      {Exception(0, 0, ERR_ILLEGAL_CHARACTER, "\"\\"),
       "{ \"line\" : 0, \"column\" : 0, \"err_code\" : 10005, \"err_exp\" : "
       "\"Illegal character. \", \"desc\" : \"\"\\\" }"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.error.ToString(), c.text);
}

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
