// Argument-kind dispatch of the averages, references, sums, signal filters
// and price limits, and a sweep of hostile argument combinations.

#include <limits>
#include <memory>

#include "series_expect.h"
#include "strategy/reference/align_right_strategy.h"
#include "strategy/reference/alt_filter_strategy.h"
#include "strategy/reference/back_set_strategy.h"
#include "strategy/reference/const_strategy.h"
#include "strategy/reference/dma_strategy.h"
#include "strategy/reference/dt_price_strategy.h"
#include "strategy/reference/ema2_strategy.h"
#include "strategy/reference/ema_strategy.h"
#include "strategy/reference/filter_strategy.h"
#include "strategy/reference/ma_strategy.h"
#include "strategy/reference/mema_strategy.h"
#include "strategy/reference/mular_strategy.h"
#include "strategy/reference/ref_strategy.h"
#include "strategy/reference/refx_strategy.h"
#include "strategy/reference/sma_strategy.h"
#include "strategy/reference/sum_bars_strategy.h"
#include "strategy/reference/sum_strategy.h"
#include "strategy/reference/wma_strategy.h"
#include "strategy/reference/zt_price_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

using Maker = std::unique_ptr<Strategy> (*)();

template <typename T>
std::unique_ptr<Strategy> Make() {
  return std::make_unique<T>();
}

Environment EnvWithBars(size_t count) {
  Environment env;
  env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(count));
  return env;
}

DataExt Text(const char* text) { return DataExt(std::string(text)); }
DataExt Drawing() { return DataExt(DrawEntry()); }

TEST(AveragesSumsExecTest, DispatchOnArgumentKinds) {
  struct Case {
    const char* note;
    Maker make;
    std::vector<DataExt> args;
    size_t bars;
    std::vector<double> want;
  };
  const std::vector<Case> cases = {
      {"MA of a number is empty", &Make<MaStrategy>, {Number(5), Number(3)}, 4, {}},
      {"MA period truncates", &Make<MaStrategy>, {Series({1, 2, 3}), Number(2.9)}, 3,
       {INV, 1.5, 2.5}},
      {"MA negative period is 0: empty", &Make<MaStrategy>, {Series({1, 2}), Number(-1)}, 2, {}},
      {"MA string period", &Make<MaStrategy>, {Series({1, 2}), Text("2")}, 2, {}},
      {"MA per-bar period", &Make<MaStrategy>, {Series({1, 2, 3}), Series({3, 3, 3})}, 3,
       {1, 1.5, 2}},
      {"EMA widens a number X to the bars", &Make<EmaStrategy>, {Number(5), Number(3)}, 4,
       {5, 5, 5, 5}},
      {"EMA over no bars", &Make<EmaStrategy>, {Number(5), Number(3)}, 0, {}},
      {"EMA string X", &Make<EmaStrategy>, {Text("x"), Number(3)}, 2, {}},
      {"SMA widens every number", &Make<SmaStrategy>, {Number(6), Number(3), Number(1)}, 3,
       {6, 6, 6}},
      {"SMA string weight", &Make<SmaStrategy>, {Series({1, 2}), Number(3), Text("m")}, 2, {}},
      {"WMA constant", &Make<WmaStrategy>, {Series({1, 2, 3}), Number(3)}, 3,
       {INV, INV, 14.0 / 6.0}},
      {"EMA2 constant", &Make<Ema2Strategy>, {Series({1, 2, 3}), Number(3)}, 3,
       {INV, INV, 14.0 / 6.0}},
      {"EMA2 drawing period", &Make<Ema2Strategy>, {Series({1}), Drawing()}, 1, {}},
      {"MEMA negative period is 0", &Make<MemaStrategy>, {Series({1, 3}), Number(-1)}, 2,
       {1, kInf}},
      {"DMA weight is a double", &Make<DmaStrategy>, {Series({10, 20}), Number(0.5)}, 2, {10, 15}},
      {"REF negative count is 0: a copy", &Make<RefStrategy>, {Series({1, 2}), Number(-1)}, 2,
       {1, 2}},
      {"REFX per-bar count", &Make<RefxStrategy>, {Series({1, 2}), Series({1, 0})}, 2, {2, 2}},
      {"SUM NaN count is cumulative", &Make<SumStrategy>, {Series({1, 2}), Number(kNaN)}, 2,
       {1, 3}},
      {"SUMBARS repeats the target over X, not the bars", &Make<SumBarsStrategy>,
       {Series({1, 2, 3}), Number(5)}, 0, {0, 1, 2}},
      {"MULAR repeats the period over X", &Make<MularStrategy>, {Series({2, 3, 4}), Number(2)}, 9,
       {2, 6, 12}},
      {"MULAR string period", &Make<MularStrategy>, {Series({2}), Text("2")}, 1, {}},
      {"CONST of a number is empty", &Make<ConstStrategy>, {Number(3)}, 2, {}},
      {"BACKSET string length: no bar signals", &Make<BackSetStrategy>,
       {Series({INV, 1}), Text("2")}, 2, {INV, 0}},
      {"FILTER drawing count: no bar signals", &Make<FilterStrategy>, {Series({1, 1}), Drawing()},
       2, {0, 0}},
      {"FILTER constant", &Make<FilterStrategy>, {Series({1, 1, 1, 1}), Number(2)}, 4,
       {1, 0, 0, 1}},
      {"ALTFILTER number B reads no bar", &Make<AltFilterStrategy>, {Series({1, 1}), Number(1)}, 2,
       {0, 0}},
      {"ZTPRICE string ratio", &Make<ZtPriceStrategy>, {Series({10}), Text("0.1")}, 1, {}},
      {"DTPRICE per-bar ratio", &Make<DtPriceStrategy>, {Series({10}), Series({0.1})}, 1, {9}},
      {"DTPRICE number price", &Make<DtPriceStrategy>, {Number(10), Number(0.1)}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    Environment env = EnvWithBars(c.bars);
    DataExt got = c.make()->Exec(c.args, env, nullptr);
    EXPECT_TRUE(got.isListType());
    EXPECT_SERIES(got.getRawData(), (c.want));
  }
}

// Every combination of hostile arguments must return a series no longer than
// the longest input or the bars, without crashing (run under the sanitizers).
TEST(AveragesSumsExecTest, HostileArgumentsReturn) {
  struct Named {
    const char* name;
    Maker make;
    size_t arity;
  };
  const Named strategies[] = {
      {"MA", &Make<MaStrategy>, 2},         {"EMA", &Make<EmaStrategy>, 2},
      {"EMA2", &Make<Ema2Strategy>, 2},     {"WMA", &Make<WmaStrategy>, 2},
      {"SMA", &Make<SmaStrategy>, 3},       {"MEMA", &Make<MemaStrategy>, 2},
      {"DMA", &Make<DmaStrategy>, 2},       {"REF", &Make<RefStrategy>, 2},
      {"REFX", &Make<RefxStrategy>, 2},     {"SUM", &Make<SumStrategy>, 2},
      {"SUMBARS", &Make<SumBarsStrategy>, 2}, {"MULAR", &Make<MularStrategy>, 2},
      {"CONST", &Make<ConstStrategy>, 1},   {"ALIGNRIGHT", &Make<AlignRightStrategy>, 1},
      {"BACKSET", &Make<BackSetStrategy>, 2}, {"FILTER", &Make<FilterStrategy>, 2},
      {"ALTFILTER", &Make<AltFilterStrategy>, 2}, {"ZTPRICE", &Make<ZtPriceStrategy>, 2},
      {"DTPRICE", &Make<DtPriceStrategy>, 2},
  };
  const std::vector<DataExt> values = {
      Series({}),
      Series({1, INV, kNaN}),
      Series({-1e300, 1e300, -kInf, kInf, INV, 0, 2.5}),
      Number(0),
      Number(-1),
      Number(1e300),
      Number(kNaN),
      Number(kInf),
      Number(-kInf),
      Text("abc"),
      Drawing(),
  };
  const size_t bars = 5;
  const size_t longest = 7;
  Environment env = EnvWithBars(bars);
  for (const Named& s : strategies) {
    SCOPED_TRACE(s.name);
    size_t combinations = 1;
    for (size_t k = 0; k < s.arity; ++k) combinations *= values.size();
    // Too few arguments must not be read past either.
    EXPECT_TRUE(s.make()->Exec({}, env, nullptr).getRawData().empty());
    for (size_t code = 0; code < combinations; ++code) {
      std::vector<DataExt> args;
      for (size_t k = 0, rest = code; k < s.arity; ++k, rest /= values.size()) {
        args.push_back(values[rest % values.size()]);
      }
      DataExt got = s.make()->Exec(args, env, nullptr);
      EXPECT_TRUE(got.isListType()) << "combination " << code;
      EXPECT_LE(got.getRawData().size(), longest) << "combination " << code;
    }
  }
}

}  // namespace
