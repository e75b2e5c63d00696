// DRAWLINE, POLYLINE, PARTLINE, PARTLINE2, VERTLINE and DRAWSL. Expected
// values are derived by hand, bar by bar, from the rule each function follows.

#include "draw_fixture.h"

namespace {

const std::vector<double> kStartPrice = {10, 11, 12, 13, 14, 15};
const std::vector<double> kEndPrice = {20, 21, 22, 23, 24, 25};

struct DrawLineCase {
  const char* name;
  std::vector<double> start, start_price, end, end_price, want;
};

TEST(DrawLine, StartsOnlyWhileWaitingAndEndsOnlyAfterAStart) {
  const DrawLineCase cases[] = {
      // Bar 1 starts (its end condition is ignored), bar 2's start is ignored,
      // bar 4 ends.
      {"start, ignored second start, end", {0, 1, 1, 0, 0, 0}, kStartPrice, {0, 1, 0, 0, 1, 0},
       kEndPrice, {INV, 11, INV, INV, 24, INV}},
      {"end right after the start", {0, 1, 1, 0, 0, 0}, kStartPrice, {0, 1, 1, 0, 0, 0}, kEndPrice,
       {INV, 11, 22, INV, INV, INV}},
      {"segments repeat", {1, 0, 1, 1, 0}, kStartPrice, {0, 1, 0, 1, 1}, kEndPrice,
       {10, 21, 12, 23, INV}},
      {"invalid, zero, negative and kNaN do not hold", {INV, 0, -1, kNaN, 0.5, 0}, kStartPrice,
       {0, 0, 0, 0, 0, 1}, kEndPrice, {INV, INV, INV, INV, 14, 25}},
      {"shortest series sets the length", {1, 0, 0}, kStartPrice, {0, 0, 1, 1}, kEndPrice,
       {10, INV, 22}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataExt got = DrawLine(Series(c.start), Series(c.start_price), Series(c.end),
                           Series(c.end_price), 0);
    ASSERT_EQ(got.getType(), DRAW_TYPE);
    EXPECT_EQ(got.m_draw_entry.draw_name, "DRAWLINE");
    EXPECT_TRUE(SeriesEq(Prices(got.m_draw_entry), c.want));
    for (double offset : Offsets(got.m_draw_entry)) EXPECT_EQ(offset, 0.0);
  }
}

TEST(DrawLine, FifthArgumentIsTheTruncatedTypeOrRejects) {
  std::vector<DataExt> base = {Series({1}), Series({2}), Series({0}), Series({3})};
  EXPECT_EQ(Call<DrawLineStrategy>(base).m_draw_entry.draw_type, 0);
  for (auto [fifth, want] : {std::pair{1.9, 1}, {-2.7, -2}, {kNaN, 0}, {1e300, INT32_MAX}}) {
    auto args = base;
    args.push_back(Number(fifth));
    DataExt got = Call<DrawLineStrategy>(args);
    EXPECT_EQ(got.m_draw_entry.draw_type, want) << fifth;
    EXPECT_SERIES(Prices(got.m_draw_entry), {2});
  }
  for (DataExt rejected : {Series({1}), Text("1"), Drawing()}) {
    auto args = base;
    args.push_back(rejected);
    EXPECT_EQ(Call<DrawLineStrategy>(args).m_draw_entry.JsonString(), kEmptyRecord);
  }
}

TEST(PolyLineAndPartLine, PriceWhereTheConditionHolds) {
  struct Case {
    const char* name;
    DataExt condition, price;
    std::vector<double> want;
  } cases[] = {
      {"rising bars", Series({1, 0, 1, 0}), Series({5, 6, 7, 8}), {5, INV, 7, INV}},
      {"invalid condition does not hold", Series({INV, 2, -3, kNaN}), Series({5, 6, 7, 8}),
       {INV, 6, INV, INV}},
      {"shorter price", Series({1, 1, 1}), Series({5, 6}), {5, 6}},
      {"number price is not widened", Series({1, 1}), Number(10), {}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataExt poly = Call<PolyLineStrategy>({c.condition, c.price});
    DataExt part = Call<PartLineStrategy>({c.condition, c.price}, 4);
    EXPECT_EQ(poly.m_draw_entry.draw_name, "POLYLINE");
    EXPECT_EQ(part.m_draw_entry.draw_name, "PARTLINE");
    EXPECT_TRUE(SeriesEq(Prices(poly.m_draw_entry), c.want));
    EXPECT_TRUE(SeriesEq(Prices(part.m_draw_entry), c.want));
    EXPECT_EQ(part.m_draw_entry.draw_type, 0);
  }
}

std::vector<std::string> Colors(const DrawEntry& draw) {
  std::vector<std::string> out;
  for (const auto& line : draw.part_lines) out.push_back(line.color);
  return out;
}

std::vector<double> LinePrices(const DrawEntry& draw) {
  std::vector<double> out;
  for (const auto& line : draw.part_lines) out.push_back(line.price);
  return out;
}

TEST(PartLine2, FirstHoldingPairColoursEveryPriceBar) {
  const DataExt price = Series({1, 2, INV, 4});
  struct Case {
    const char* name;
    std::vector<DataExt> pairs;
    std::vector<std::string> want;
  } cases[] = {
      {"red or green", {Series({1, 0, 1, 0}), Text("red"), Series({0, 1, 0, 1}), Text("green")},
       {"red", "green", "red", "green"}},
      {"first pair wins", {Series({1, 1, 0, 0}), Text("red"), Series({1, 1, 1, 0}), Text("green")},
       {"red", "red", "green", ""}},
      {"shorter condition has no element to hold", {Series({1}), Text("red")},
       {"red", "", "", ""}},
      {"number condition never holds", {Number(5), Text("red")}, {"", "", "", ""}},
      {"trailing condition without colour is ignored", {Series({0, 1, 0, 0}), Text("red"),
       Series({1, 1, 1, 1})}, {"", "red", "", ""}},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataExt got = PartLine2(price, c.pairs);
    EXPECT_EQ(got.m_draw_entry.draw_name, "PARTLINE2");
    EXPECT_EQ(Colors(got.m_draw_entry), c.want);
    // The price is never replaced, also where no colour applies.
    EXPECT_SERIES(LinePrices(got.m_draw_entry), {1, 2, INV, 4});
  }
}

TEST(PartLine2, ExecRejectsAColourThatIsNotAString) {
  const DataExt up = Series({1, 0});
  EXPECT_EQ(Call<PartLine2Strategy>({Series({1, 2}), up, Number(5)}).m_draw_entry.JsonString(),
            kEmptyRecord);
  EXPECT_EQ(Call<PartLine2Strategy>({Series({1, 2}), up, Text("red"), up, Series({1, 1})})
                .m_draw_entry.JsonString(),
            kEmptyRecord);
  DataExt got = Call<PartLine2Strategy>({Series({1, 2.5}), up, Text("red")});
  EXPECT_EQ(got.m_draw_entry.JsonString(),
            "{\"draw_name\":\"PARTLINE2\",\"draw_text\":\"\",\"draw_type\":0,"
            "\"draw_kline_datas\":[],\"draw_positions\":[],\"part_lines\":["
            "{\"price\":1.000000,\"color\":\"red\"},{\"price\":2.500000,\"color\":\"\"}],"
            "\"draw_numbers\":[],\"draw_sls\":[],\"stick_lines\":[] }");
  EXPECT_TRUE(Call<PartLine2Strategy>({Number(3), up, Text("red")})
                  .m_draw_entry.part_lines.empty());
}

TEST(VertLine, OneAndZeroWithTheWidthAsType) {
  const DataExt condition = Series({1, 0, -1, INV, kNaN, 2});
  struct Case {
    const char* name;
    DataExt width;
    int want_type;
  } cases[] = {
      {"number", Number(3), 3},
      {"fraction truncates", Number(2.9), 2},
      {"series width is 1", Series({4, 4, 4, 4, 4, 4}), 1},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataExt got = Call<VertLineStrategy>({condition, c.width});
    EXPECT_EQ(got.m_draw_entry.draw_name, "VERTLINE");
    EXPECT_EQ(got.m_draw_entry.draw_type, c.want_type);
    EXPECT_SERIES(Prices(got.m_draw_entry), {1, 0, 0, 0, 0, 1});
  }
}

TEST(DrawSL, LengthAndDirectionWidenButSlopeDoesNot) {
  const DataExt condition = Series({1, 0, 1});
  const DataExt close = Series({10, 11, 12});
  DataExt constant_slope =
      Call<DrawSLStrategy>({condition, close, Number(0.5), Number(10), Number(1)}, 3);
  EXPECT_EQ(constant_slope.m_draw_entry.draw_name, "DRAWSL");
  EXPECT_TRUE(constant_slope.m_draw_entry.draw_sls.empty());

  DataExt got = Call<DrawSLStrategy>(
      {condition, close, Series({0.5, 0.5, -0.25}), Number(10), Number(1)}, 3);
  EXPECT_EQ(got.m_draw_entry.JsonString(),
            "{\"draw_name\":\"DRAWSL\",\"draw_text\":\"\",\"draw_type\":0,"
            "\"draw_kline_datas\":[],\"draw_positions\":[],\"part_lines\":[],"
            "\"draw_numbers\":[],\"draw_sls\":["
            "{\"price\":10.000000,\"slop\":0.500000,\"len\":10,\"dir\":1},"
            "{\"price\":-100000.000000,\"slop\":-100000.000000,\"len\":0,\"dir\":0},"
            "{\"price\":12.000000,\"slop\":-0.250000,\"len\":10,\"dir\":1}],"
            "\"stick_lines\":[] }");

  // A widened number has one copy per bar row, so two rows give two entries.
  EXPECT_EQ(Call<DrawSLStrategy>({condition, close, close, Number(10), Number(1)}, 2)
                .m_draw_entry.draw_sls.size(),
            2u);
}

}  // namespace
