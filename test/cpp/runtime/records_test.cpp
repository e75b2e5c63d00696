// Values, drawing records, output JSON and the error report, byte for byte.

#include <gtest/gtest.h>

#include <limits>

#include "compiler/data_ext.h"
#include "compiler/exception.h"
#include "compiler/result.h"

namespace {

const char kEmptyRecord[] =
    "{\"draw_name\":\"\",\"draw_text\":\"\",\"draw_type\":0,\"draw_kline_datas\":[],"
    "\"draw_positions\":[],\"part_lines\":[],\"draw_numbers\":[],\"draw_sls\":[],"
    "\"stick_lines\":[] }";

TEST(DrawEntry, EmptyRecordJson) { EXPECT_EQ(DrawEntry().JsonString(), kEmptyRecord); }

TEST(DrawEntry, EntryJson) {
  EXPECT_EQ(DrawPositionEntry(1, 0).JsonString(), "{\"price\":1.000000,\"offset\":0.000000}");
  EXPECT_EQ(PartLineEntry(2.5, "").JsonString(), "{\"price\":2.500000,\"color\":\"\"}");
  EXPECT_EQ(DrawNumberEntry(3, "3.00").JsonString(), "{\"price\":3.000000,\"value\":\"3.00\"}");
  EXPECT_EQ(DrawSLEntry(1, 0.5, 5, -1).JsonString(),
            "{\"price\":1.000000,\"slop\":0.500000,\"len\":5,\"dir\":-1}");
  EXPECT_EQ(StickLineEntry(1, 2, 0.8, 0).JsonString(),
            "{\"price1_\":1.000000,\"price2_\":2.000000,\"width_\":0.800000,\"attr_\":0.000000}");
}

TEST(DrawEntry, RecordsOfEachConstructor) {
  DrawEntry typed("VERTLINE", {DrawPositionEntry(1, 0)}, 3);
  EXPECT_NE(typed.JsonString().find("\"draw_type\":3,"), std::string::npos);
  DrawEntry text("DRAWTEXT", {DrawPositionEntry(1, 0)}, std::string("up"));
  EXPECT_EQ(text.JsonString(),
            "{\"draw_name\":\"DRAWTEXT\",\"draw_text\":\"up\",\"draw_type\":0,"
            "\"draw_kline_datas\":[],\"draw_positions\":[{\"price\":1.000000,\"offset\":0.000000}],"
            "\"part_lines\":[],\"draw_numbers\":[],\"draw_sls\":[],\"stick_lines\":[] }");
  DrawEntry candles("DRAWKLINE", std::vector<std::map<std::string, double>>{
                                     {{"o", 9.5}, {"c", 10}, {"l", 9}, {"h", 11}}});
  EXPECT_NE(candles.JsonString().find(
                "\"draw_kline_datas\":[{\"c\":10.000000,\"h\":11.000000,\"l\":9.000000,\"o\":9.500000}]"),
            std::string::npos);
}

TEST(DataExt, Kinds) {
  DataExt empty;
  EXPECT_TRUE(empty.isListType());
  EXPECT_TRUE(empty.getRawData().empty());
  DataExt five(5.0);
  EXPECT_TRUE(five.isSingleNumberType());
  EXPECT_EQ(five.getSingleNumber(), 5.0);
  EXPECT_TRUE(five.getRawData().empty());
  five.setRawData({1, 2});
  EXPECT_TRUE(five.isListType());
  EXPECT_EQ(five.getRawData().size(), 2u);
  EXPECT_EQ(five.getSingleNumber(), 5.0);  // the old number stays behind
  DrawEntry record("DRAWLINE", {DrawPositionEntry(1, 0)});
  DataExt drawing(record);
  DataExt copy = drawing;
  copy.m_draw_entry.draw_positions.clear();
  EXPECT_EQ(drawing.getType(), DRAW_TYPE);
  EXPECT_EQ(drawing.m_draw_entry.draw_positions.size(), 1u);
}

TEST(Result, OutputJson) {
  Result result;
  EXPECT_EQ(result.JsonString(), "{\"out_vars\":[],\"error_info\":\"\"}");
  result.Add(VarModel("X", std::vector<double>{1, 2.5}, {"COLORRED"}));
  EXPECT_EQ(result.JsonString(),
            std::string("{\"out_vars\":[{\"name\":\"X\",\"datas\":[1.000000,2.500000],\"draw\":") +
                kEmptyRecord + ",\"properties\":[\"COLORRED\"]}],\"error_info\":\"\"}");
}

TEST(Result, SeriesWithInvalidNanAndTwoProperties) {
  VarModel var("A\"B", std::vector<double>{-100000.0, std::numeric_limits<double>::quiet_NaN()},
               {"COLORRED", "LINETHICK2"});
  std::string json = var.JsonString();
  EXPECT_NE(json.find("\"name\":\"A\"B\""), std::string::npos);  // copied unescaped
  EXPECT_NE(json.find("\"datas\":[-100000.000000,nan]"), std::string::npos);
  EXPECT_NE(json.find("\"properties\":[\"COLORRED\",\"LINETHICK2\"]}"), std::string::npos);
}

TEST(Exception, Reports) {
  struct Case {
    Exception error;
    const char* report;
  } cases[] = {
      {Exception(1, 14, ERR_ILLEGAL_STATEMENT, ")"),
       "{ \"line\" : 1, \"column\" : 14, \"err_code\" : 10007, \"err_exp\" : \"Illegal statement. \", "
       "\"desc\" : \")\" }"},
      {Exception(0, 0, ERR_LOSS_METHOD_IMPL, "MA"),
       "{ \"line\" : 0, \"column\" : 0, \"err_code\" : 10002, \"err_exp\" : \"Method not implemented "
       "error. \", \"desc\" : \"MA\" }"},
      {Exception(2, 3, ERR_PARAM_COUNT_MISMATCH, ""),
       "{ \"line\" : 2, \"column\" : 3, \"err_code\" : 90000, \"err_exp\" : \"The length of actual "
       "parameter list and formal parameter list is different. \", \"desc\" : \"\" }"},
      {Exception(1, 0, ERR_ILLEGAL_CHARACTER, "\""),
       "{ \"line\" : 1, \"column\" : 0, \"err_code\" : 10005, \"err_exp\" : \"Illegal character. \", "
       "\"desc\" : \"\"\" }"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.error.ToString(), c.report);
  EXPECT_THROW(Exception::ThrowException(1, 2, "x", ERR_ILLEGAL_EXPRESSION), Exception);
}

}  // namespace
