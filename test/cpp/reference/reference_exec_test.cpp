// Exec of the reference family: the argument-kind decisions that the free
// functions do not see (which variant runs, what is widened and to what
// length, how a number becomes a count), and every strategy with hostile
// argument combinations.

#include "reference_strategies.h"

namespace {

TEST(ReferenceExecTest, DispatchOnArgumentKinds) {
  struct Case {
    const char* note;
    Maker make;
    std::vector<DataExt> args;
    size_t bars;
    std::vector<double> want;
  };
  const DataExt x = Series({1, 3, 2});
  const std::vector<Case> cases = {
      {"MA of a number is empty", &Make<MaStrategy>, {Number(5), Number(3)}, 4, {}},
      {"MA period truncates", &Make<MaStrategy>, {x, Number(2.9)}, 3, {INV, 2, 2.5}},
      {"MA negative period is 0: empty", &Make<MaStrategy>, {x, Number(-1)}, 3, {}},
      {"MA string period", &Make<MaStrategy>, {x, Text("2")}, 3, {}},
      {"EMA widens a number X to the bars", &Make<EmaStrategy>, {Number(5), Number(3)}, 4,
       {5, 5, 5, 5}},
      {"EMA string X", &Make<EmaStrategy>, {Text("x"), Number(3)}, 2, {}},
      {"SMA widens every number", &Make<SmaStrategy>, {Number(6), Number(3), Number(1)}, 3,
       {6, 6, 6}},
      {"EMA2 is WMA", &Make<Ema2Strategy>, {Series({1, 2, 3}), Number(3)}, 3,
       {INV, INV, 14.0 / 6.0}},
      {"DMA weight is not truncated", &Make<DmaStrategy>, {Series({10, 20}), Number(0.5)}, 2,
       {10, 15}},
      {"SUM NaN count is cumulative", &Make<SumStrategy>, {Series({1, 2}), Number(kNaN)}, 2,
       {1, 3}},
      {"SUMBARS repeats the target over X, not the bars", &Make<SumBarsStrategy>,
       {Series({1, 2, 3}), Number(5)}, 0, {0, 1, 2}},
      {"MULAR repeats the period over X", &Make<MularStrategy>, {Series({2, 3, 4}), Number(2)}, 9,
       {2, 6, 12}},
      {"BACKSET string length: no bar signals", &Make<BackSetStrategy>,
       {Series({INV, 1}), Text("2")}, 2, {INV, 0}},
      {"FILTER drawing count: no bar signals", &Make<FilterStrategy>, {Series({1, 1}), Drawing()},
       2, {0, 0}},
      {"ALTFILTER number B reads no bar", &Make<AltFilterStrategy>, {Series({1, 1}), Number(1)}, 2,
       {0, 0}},
      {"ZTPRICE ratio is not truncated", &Make<ZtPriceStrategy>, {Series({10}), Number(0.5)}, 1,
       {15}},
      {"HHV 0: all history", &Make<HhvStrategy>, {x, Number(0)}, 3, {1, 3, 3}},
      {"HHV 1: the bar itself", &Make<HhvStrategy>, {x, Number(1)}, 3, {1, 3, 2}},
      {"LLV -1 converts to 0: all history", &Make<LlvStrategy>, {x, Number(-1)}, 3, {1, 1, 1}},
      {"COUNT number", &Make<CountStrategy>, {x, Number(2)}, 3, {1, 2, 2}},
      {"COUNT series", &Make<CountStrategy>, {x, Series({1, 1, 1})}, 3, {1, 1, 1}},
      // M = 1 < T = 2 is allowed per bar: the heap holds the window's one bar.
      {"FIND numbers repeated beside a series", &Make<FindHighStrategy>,
       {x, Number(0), Series({1, 1, 1}), Number(2)}, 3, {INV, 3, 2}},
      {"FIND string beside numbers: its empty series bounds the result",
       &Make<FindHighStrategy>, {x, Text("a"), Number(3), Number(2)}, 3, {}},
      {"FIND with no number and not all series", &Make<FindHighStrategy>,
       {x, Text("a"), Series({3, 3, 3}), Text("b")}, 3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    Environment env = EnvWithBars(c.bars);
    EXPECT_SERIES(c.make()->Exec(c.args, env, nullptr).getRawData(), (c.want));
  }
}

TEST(ReferenceExecTest, HostileArgumentsReturn) {
  ExpectHostileArgumentsReturn({
      {"ALIGNRIGHT", &Make<AlignRightStrategy>, 1}, {"ALTFILTER", &Make<AltFilterStrategy>, 2},
      {"BACKSET", &Make<BackSetStrategy>, 2}, {"BARSCOUNT", &Make<BarsCountStrategy>, 1},
      {"BARSLAST", &Make<BarsLastStrategy>, 1}, {"BARSNEXT", &Make<BarsNextStrategy>, 1},
      {"BARSSINCE", &Make<BarsSinceStrategy>, 1}, {"BARSSINCEN", &Make<BarsSinceNStrategy>, 2},
      {"BARSTATUS", &Make<BarStatusStrategy>, 0}, {"CONST", &Make<ConstStrategy>, 1},
      {"COUNT", &Make<CountStrategy>, 2}, {"CURRBARSCOUNT", &Make<CurrBarsCountStrategy>, 1},
      {"DMA", &Make<DmaStrategy>, 2}, {"DTPRICE", &Make<DtPriceStrategy>, 2},
      {"EMA", &Make<EmaStrategy>, 2}, {"EMA2", &Make<Ema2Strategy>, 2},
      {"FILTER", &Make<FilterStrategy>, 2}, {"FINDHIGH", &Make<FindHighStrategy>, 4},
      {"FINDHIGHBARS", &Make<FindHighBarsStrategy>, 4}, {"FINDLOW", &Make<FindLowStrategy>, 4},
      {"FINDLOWBARS", &Make<FindLowBarsStrategy>, 4}, {"HHV", &Make<HhvStrategy>, 2},
      {"HHVBARS", &Make<HhvBarsStrategy>, 2}, {"HOD", &Make<HodStrategy>, 2},
      {"ISLASTBAR", &Make<IsLastBarStrategy>, 0}, {"LLV", &Make<LlvStrategy>, 2},
      {"LLVBARS", &Make<LlvBarsStrategy>, 2}, {"LOD", &Make<LodStrategy>, 2},
      {"LOWRANGE", &Make<LowRangeStrategy>, 1}, {"MA", &Make<MaStrategy>, 2},
      {"MEMA", &Make<MemaStrategy>, 2}, {"MULAR", &Make<MularStrategy>, 2},
      {"REF", &Make<RefStrategy>, 2}, {"REFX", &Make<RefxStrategy>, 2},
      {"SMA", &Make<SmaStrategy>, 3}, {"SUM", &Make<SumStrategy>, 2},
      {"SUMBARS", &Make<SumBarsStrategy>, 2}, {"TOPRANGE", &Make<TopRangeStrategy>, 1},
      {"TOTALBARSCOUNT", &Make<TotalBarsCountStrategy>, 1}, {"WMA", &Make<WmaStrategy>, 2},
      {"ZTPRICE", &Make<ZtPriceStrategy>, 2},
  });
}

}  // namespace
