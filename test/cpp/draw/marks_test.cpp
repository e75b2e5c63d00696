// DRAWTEXT, DRAWICON, DRAWNUMBER, STICKLINE and COLORRGB. Expected values are
// hand-derived; number texts follow printf "%.*f" rounding.

#include "draw_fixture.h"

namespace {

const DataExt kUp = Series({1, 0, 1, INV});  // rising bars 0 and 2
const DataExt kLow = Series({9, 8, 7, 6});

TEST(DrawText, JsonOfTheLowOnRisingBars) {
  DataExt got = Call<DrawTextStrategy>({kUp, kLow, Text("up")});
  EXPECT_EQ(got.m_draw_entry.JsonString(),
            "{\"draw_name\":\"DRAWTEXT\",\"draw_text\":\"up\",\"draw_type\":0,"
            "\"draw_kline_datas\":[],\"draw_positions\":["
            "{\"price\":9.000000,\"offset\":0.000000},"
            "{\"price\":-100000.000000,\"offset\":0.000000},"
            "{\"price\":7.000000,\"offset\":0.000000},"
            "{\"price\":-100000.000000,\"offset\":0.000000}],"
            "\"part_lines\":[],\"draw_numbers\":[],\"draw_sls\":[],\"stick_lines\":[] }");
}

struct MarkCase {
  const char* name;
  std::vector<DataExt> args;  // condition, price, text or icon, optional offset
  std::vector<double> want_price, want_offset;
};

// The condition's length alone sets the number of entries; a number price or
// offset stands for every bar, a series one gives its element or a default.
const std::vector<MarkCase> kMarkCases = {
    {"number price and offset", {kUp, Number(10), Number(0), Number(2)},
     {10, INV, 10, INV}, {2, 0, 2, 0}},
    {"series offset", {kUp, kLow, Number(0), Series({-1, -2, -3, -4})},
     {9, INV, 7, INV}, {-1, 0, -3, 0}},
    {"shorter price and offset", {kUp, Series({9}), Number(0), Series({1})},
     {9, INV, INV, INV}, {1, 0, 0, 0}},
    {"string offset counts as 0", {kUp, kLow, Number(0), Text("2")},
     {9, INV, 7, INV}, {0, 0, 0, 0}},
    {"string price is missing", {kUp, Text("9"), Number(0)}, {INV, INV, INV, INV},
     {0, 0, 0, 0}},
    {"number condition draws nothing", {Number(1), kLow, Number(0)}, {}, {}},
};

TEST(DrawText, PositionsFollowTheCondition) {
  for (auto c : kMarkCases) {
    SCOPED_TRACE(c.name);
    c.args[2] = Text("up");
    DataExt got = Call<DrawTextStrategy>(c.args);
    EXPECT_EQ(got.m_draw_entry.draw_text, "up");
    EXPECT_TRUE(SeriesEq(Prices(got.m_draw_entry), c.want_price));
    EXPECT_TRUE(SeriesEq(Offsets(got.m_draw_entry), c.want_offset));
  }
}

TEST(DrawIcon, SamePositionsWithTheIconAsType) {
  for (auto c : kMarkCases) {
    SCOPED_TRACE(c.name);
    c.args[2] = Number(3.7);
    DataExt got = Call<DrawIconStrategy>(c.args);
    EXPECT_EQ(got.m_draw_entry.draw_name, "DRAWICON");
    EXPECT_EQ(got.m_draw_entry.draw_type, 3);
    EXPECT_EQ(got.m_draw_entry.draw_text, "");
    EXPECT_TRUE(SeriesEq(Prices(got.m_draw_entry), c.want_price));
    EXPECT_TRUE(SeriesEq(Offsets(got.m_draw_entry), c.want_offset));
  }
}

TEST(DrawTextAndIcon, WrongThirdArgumentGivesTheEmptyRecord) {
  EXPECT_EQ(Call<DrawTextStrategy>({kUp, kLow, Number(1)}).m_draw_entry.JsonString(),
            kEmptyRecord);
  EXPECT_EQ(Call<DrawIconStrategy>({kUp, kLow, Text("3")}).m_draw_entry.JsonString(),
            kEmptyRecord);
  EXPECT_EQ(Call<DrawIconStrategy>({kUp, kLow, Drawing()}).m_draw_entry.JsonString(),
            kEmptyRecord);
  EXPECT_EQ(Call<DrawIconStrategy>({kUp, kLow, Number(kNaN)}).m_draw_entry.draw_type, 0);
}

TEST(DrawNumber, NumberTextAtHoldingBarsAndThePriceEverywhere) {
  const DataExt high = Series({11, 12, 13, 14});
  const DataExt close = Series({10.456, -2.5, 3, 4});
  struct Case {
    const char* name;
    DataExt condition, number;
    int decimals;
    std::vector<std::string> want;
  } cases[] = {
      {"two decimals", kUp, close, 2, {"10.46", "", "3.00", ""}},
      {"negative decimals as none", Series({1, 1}), close, -3, {"10", "-2"}},
      {"shortest of condition, price and number", Series({1, 1, 1, 1}), Series({7, 8}), 1,
       {"7.0", "8.0"}},
      {"number is not widened", kUp, Number(5), 2, {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataExt got = DrawNumber(c.condition, high, c.number, c.decimals);
    std::vector<std::string> values;
    std::vector<double> prices;
    for (const auto& e : got.m_draw_entry.draw_numbers) {
      values.push_back(e.value);
      prices.push_back(e.price);
    }
    EXPECT_EQ(values, c.want);
    EXPECT_TRUE(SeriesEq(prices, std::vector<double>(high.m_raw_data.begin(),
                                              high.m_raw_data.begin() + c.want.size())));
  }
}

TEST(DrawNumber, ExecTruncatesDecimalsAndRejectsASeries) {
  DataExt got = Call<DrawNumberStrategy>({Series({1, 0}), Series({11, 12}), Series({1.25, 2}),
                                          Number(1.9)});
  EXPECT_EQ(got.m_draw_entry.JsonString(),
            "{\"draw_name\":\"DRAWNUMBER\",\"draw_text\":\"\",\"draw_type\":0,"
            "\"draw_kline_datas\":[],\"draw_positions\":[],\"part_lines\":[],"
            "\"draw_numbers\":[{\"price\":11.000000,\"value\":\"1.2\"},"
            "{\"price\":12.000000,\"value\":\"\"}],\"draw_sls\":[],\"stick_lines\":[] }");
  EXPECT_EQ(Call<DrawNumberStrategy>({kUp, kLow, kLow, Series({2, 2, 2, 2})})
                .m_draw_entry.JsonString(),
            kEmptyRecord);
}

TEST(StickLine, WidthAndAttributeWidenToTheBars) {
  DataExt got = Call<StickLineStrategy>(
      {Series({1, 0}), Series({9.5, 10}), Series({10, 9}), Number(0.8), Number(0)}, 2);
  EXPECT_EQ(got.m_draw_entry.JsonString(),
            "{\"draw_name\":\"STICKLINE\",\"draw_text\":\"\",\"draw_type\":0,"
            "\"draw_kline_datas\":[],\"draw_positions\":[],\"part_lines\":[],"
            "\"draw_numbers\":[],\"draw_sls\":[],\"stick_lines\":["
            "{\"price1_\":9.500000,\"price2_\":10.000000,\"width_\":0.800000,\"attr_\":0.000000},"
            "{\"price1_\":-100000.000000,\"price2_\":-100000.000000,\"width_\":0.000000,"
            "\"attr_\":0.000000}] }");
}

TEST(StickLine, LengthIsTheShortestOfAllFive) {
  const DataExt up3 = Series({1, 1, 1});
  struct Case {
    const char* name;
    std::vector<DataExt> args;
    size_t bars;
    size_t want;
  } cases[] = {
      {"widened to fewer bars", {up3, up3, up3, Number(1), Number(0)}, 2, 2},
      {"series width used as is", {up3, up3, up3, Series({1, 2}), Number(0)}, 5, 2},
      {"number price is not widened", {up3, Number(1), up3, Number(1), Number(0)}, 3, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Call<StickLineStrategy>(c.args, c.bars).m_draw_entry.stick_lines.size(), c.want);
  }
}

TEST(ColorRGB, TruncatedIntegersOrTheEmptyValue) {
  struct Case {
    DataExt r, g, b;
    const char* want;  // null: the empty value
  } cases[] = {
      {Number(255.9), Number(0), Number(0), "COLORRGB(255,0,0)"},
      {Number(-1.5), Number(300), Number(7), "COLORRGB(-1,300,7)"},
      {Number(kNaN), Number(INFINITY), Number(-1e300), "COLORRGB(0,2147483647,-2147483648)"},
      {Series({1}), Number(0), Number(0), nullptr},
      {Number(0), Text("0"), Number(0), nullptr},
  };
  for (auto& c : cases) {
    DataExt got = Call<ColorrgbStrategy>({c.r, c.g, c.b});
    if (c.want) {
      ASSERT_TRUE(got.isStringType());
      EXPECT_EQ(got.m_string, c.want);
    } else {
      EXPECT_TRUE(got.isListType());
      EXPECT_TRUE(got.m_raw_data.empty());
    }
  }
}

}  // namespace
