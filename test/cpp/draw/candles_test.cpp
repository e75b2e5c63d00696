// DRAWKLINE, DRAWBARLINE and DRAWKLINEEX; expected candles are hand-written.

#include "draw_fixture.h"

namespace {

const DataExt kHigh = Series({11, 12, 13});
const DataExt kOpen = Series({9.5, 12, INV});
const DataExt kLow = Series({9, 10, 11});
const DataExt kClose = Series({10, 11, 12});

std::string CandlesJson(const DrawEntry& draw) {
  std::string text = draw.JsonString();
  size_t from = text.find("\"draw_kline_datas\":");
  size_t to = text.find(",\"draw_positions\"");
  return text.substr(from, to - from);
}

TEST(DrawKLine, OneCandlePerBarInKeyOrder) {
  DataExt got = Call<DrawKLineStrategy>({kHigh, kOpen, kLow, kClose});
  EXPECT_EQ(got.m_draw_entry.JsonString(),
            "{\"draw_name\":\"DRAWKLINE\",\"draw_text\":\"\",\"draw_type\":0,"
            "\"draw_kline_datas\":["
            "{\"c\":10.000000,\"h\":11.000000,\"l\":9.000000,\"o\":9.500000},"
            "{\"c\":11.000000,\"h\":12.000000,\"l\":10.000000,\"o\":12.000000},"
            "{\"c\":12.000000,\"h\":13.000000,\"l\":11.000000,\"o\":-100000.000000}],"
            "\"draw_positions\":[],\"part_lines\":[],\"draw_numbers\":[],\"draw_sls\":[],"
            "\"stick_lines\":[] }");
  DataExt bars = Call<DrawBarLineStrategy>({kHigh, kOpen, kLow, kClose});
  EXPECT_EQ(bars.m_draw_entry.draw_name, "DRAWBARLINE");
  EXPECT_EQ(CandlesJson(bars.m_draw_entry), CandlesJson(got.m_draw_entry));
}

TEST(DrawKLine, ShortestSeriesSetsTheCount) {
  struct Case {
    const char* name;
    DataExt high, open, low, close;
    size_t want;
  } cases[] = {
      {"short low", kHigh, kOpen, Series({9}), kClose, 1},
      {"number close is not widened", kHigh, kOpen, kLow, Number(10), 0},
      {"string high", Text("11"), kOpen, kLow, kClose, 0},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DrawKLine(c.high, c.open, c.low, c.close).m_draw_entry.draw_kline_datas.size(),
              c.want);
    EXPECT_EQ(DrawBarLine(c.high, c.open, c.low, c.close).m_draw_entry.draw_kline_datas.size(),
              c.want);
  }
}

TEST(DrawKLineEx, RealCandleOnlyWhereTheConditionHolds) {
  DataExt got = Call<DrawKLineExStrategy>({Series({0, 1, kNaN}), kHigh, kOpen, kLow, kClose});
  EXPECT_EQ(got.m_draw_entry.draw_name, "DRAWKLINEEX");
  EXPECT_EQ(CandlesJson(got.m_draw_entry),
            "\"draw_kline_datas\":["
            "{\"c\":-100000.000000,\"h\":-100000.000000,\"l\":-100000.000000,"
            "\"o\":-100000.000000},"
            "{\"c\":11.000000,\"h\":12.000000,\"l\":10.000000,\"o\":12.000000},"
            "{\"c\":-100000.000000,\"h\":-100000.000000,\"l\":-100000.000000,"
            "\"o\":-100000.000000}]");
  EXPECT_EQ(DrawKLineEx(Series({1, 1}), kHigh, kOpen, kLow, kClose)
                .m_draw_entry.draw_kline_datas.size(),
            2u);
  EXPECT_TRUE(DrawKLineEx(Number(1), kHigh, kOpen, kLow, kClose)
                  .m_draw_entry.draw_kline_datas.empty());
}

}  // namespace
