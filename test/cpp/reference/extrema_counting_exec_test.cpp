// Argument-kind dispatch of the window-extreme, search and counting
// strategies, and a sweep of hostile argument combinations through every
// one of their Exec functions.

#include <limits>
#include <memory>

#include "series_expect.h"
#include "strategy/reference/bar_status_strategy.h"
#include "strategy/reference/bars_count_strategy.h"
#include "strategy/reference/bars_last_strategy.h"
#include "strategy/reference/bars_next_strategy.h"
#include "strategy/reference/bars_since_n_strategy.h"
#include "strategy/reference/bars_since_strategy.h"
#include "strategy/reference/count_strategy.h"
#include "strategy/reference/curr_bars_count_strategy.h"
#include "strategy/reference/find_high_bars_strategy.h"
#include "strategy/reference/find_high_strategy.h"
#include "strategy/reference/find_low_bars_strategy.h"
#include "strategy/reference/find_low_strategy.h"
#include "strategy/reference/hhv_bars_strategy.h"
#include "strategy/reference/hhv_strategy.h"
#include "strategy/reference/hod_strategy.h"
#include "strategy/reference/is_last_bar_strategy.h"
#include "strategy/reference/llv_bars_strategy.h"
#include "strategy/reference/llv_strategy.h"
#include "strategy/reference/lod_strategy.h"
#include "strategy/reference/low_range_strategy.h"
#include "strategy/reference/top_range_strategy.h"
#include "strategy/reference/total_bars_count_strategy.h"

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

TEST(ExtremaCountingExecTest, DispatchOnArgumentKinds) {
  struct Case {
    const char* note;
    Maker make;
    std::vector<DataExt> args;
    std::vector<double> want;
  };
  const DataExt x = Series({1, 3, 2});
  const std::vector<Case> cases = {
      {"HHV 0: all history", &Make<HhvStrategy>, {x, Number(0)}, {1, 3, 3}},
      {"HHV number: window", &Make<HhvStrategy>, {x, Number(1)}, {1, 3, 2}},
      {"HHV series: per-bar", &Make<HhvStrategy>, {x, Series({1, 1, 2})}, {1, 3, 3}},
      {"HHV string: per-bar over no periods", &Make<HhvStrategy>, {x, DataExt("n")}, {}},
      {"HHV of a number", &Make<HhvStrategy>, {Number(4), Number(2)}, {}},
      {"LLV -1 converts to 0: all history", &Make<LlvStrategy>, {x, Number(-1)}, {1, 1, 1}},
      {"LLV series", &Make<LlvStrategy>, {x, Series({1, 1, 2})}, {1, 3, 2}},
      {"HHVBARS number", &Make<HhvBarsStrategy>, {x, Number(2)}, {0, 0, 1}},
      {"HHVBARS string", &Make<HhvBarsStrategy>, {x, DataExt("n")}, {}},
      {"LLVBARS drawing", &Make<LlvBarsStrategy>, {x, DataExt(DrawEntry())}, {}},
      {"HOD number", &Make<HodStrategy>, {x, Number(3)}, {1, 1, 2}},
      {"LOD series", &Make<LodStrategy>, {x, Series({3, 3, 3})}, {1, 2, 2}},
      {"LOD string", &Make<LodStrategy>, {x, DataExt("n")}, {}},
      {"TOPRANGE", &Make<TopRangeStrategy>, {x}, {0, 1, 0}},
      {"LOWRANGE of a number", &Make<LowRangeStrategy>, {Number(1)}, {}},
      {"COUNT number", &Make<CountStrategy>, {x, Number(2)}, {1, 2, 2}},
      {"COUNT series", &Make<CountStrategy>, {x, Series({1, 1, 1})}, {1, 1, 1}},
      {"COUNT string", &Make<CountStrategy>, {x, DataExt("n")}, {}},
      {"BARSSINCEN number", &Make<BarsSinceNStrategy>, {x, Number(2)}, {0, 1, 1}},
      {"BARSSINCEN drawing", &Make<BarsSinceNStrategy>, {x, DataExt(DrawEntry())}, {}},
      {"BARSCOUNT", &Make<BarsCountStrategy>, {x}, {0, 1, 2}},
      {"BARSLAST of a string", &Make<BarsLastStrategy>, {DataExt("x")}, {}},
      {"BARSNEXT", &Make<BarsNextStrategy>, {x}, {1, 1, 0}},
      {"BARSSINCE", &Make<BarsSinceStrategy>, {x}, {0, 1, 2}},
      {"CURRBARSCOUNT", &Make<CurrBarsCountStrategy>, {x}, {2, 1, 0}},
      {"TOTALBARSCOUNT", &Make<TotalBarsCountStrategy>, {x}, {3, 3, 3}},
      {"FINDLOW", &Make<FindLowStrategy>, {x, Number(0), Number(2), Number(1)}, {1, 1, 2}},
      {"FINDHIGHBARS", &Make<FindHighBarsStrategy>, {x, Number(0), Number(2), Number(1)},
       {0, 0, 1}},
      {"FINDLOWBARS per-bar", &Make<FindLowBarsStrategy>,
       {x, Series({0, 0, 0}), Series({2, 2, 2}), Series({1, 1, 1})}, {0, 1, 0}},
      // M = 1 < T = 2 is allowed per bar: the heap holds the window's one bar.
      {"FIND numbers repeated beside a series", &Make<FindHighStrategy>,
       {x, Number(0), Series({1, 1, 1}), Number(2)}, {INV, 3, 2}},
      {"FIND string beside numbers: its empty series bounds the result",
       &Make<FindHighStrategy>, {x, DataExt("a"), Number(3), Number(2)}, {}},
      {"FIND with no number and not all series", &Make<FindHighStrategy>,
       {x, DataExt("a"), Series({3, 3, 3}), DataExt("b")}, {}},
  };
  for (const Case& c : cases) {
    Environment env = EnvWithBars(3);
    EXPECT_SERIES(c.make()->Exec(c.args, env, nullptr).getRawData(), (c.want)) << c.note;
  }
}

// Every strategy with every combination of awkward arguments must return a
// value no longer than its longest input; the sanitizer build checks that
// nothing is read outside a series on the way.
TEST(ExtremaCountingExecTest, HostileArgumentsReturn) {
  struct Function {
    const char* name;
    Maker make;
    size_t arity;
  };
  const std::vector<Function> functions = {
      {"HHV", &Make<HhvStrategy>, 2},
      {"LLV", &Make<LlvStrategy>, 2},
      {"HHVBARS", &Make<HhvBarsStrategy>, 2},
      {"LLVBARS", &Make<LlvBarsStrategy>, 2},
      {"HOD", &Make<HodStrategy>, 2},
      {"LOD", &Make<LodStrategy>, 2},
      {"TOPRANGE", &Make<TopRangeStrategy>, 1},
      {"LOWRANGE", &Make<LowRangeStrategy>, 1},
      {"FINDHIGH", &Make<FindHighStrategy>, 4},
      {"FINDLOW", &Make<FindLowStrategy>, 4},
      {"FINDHIGHBARS", &Make<FindHighBarsStrategy>, 4},
      {"FINDLOWBARS", &Make<FindLowBarsStrategy>, 4},
      {"COUNT", &Make<CountStrategy>, 2},
      {"BARSSINCEN", &Make<BarsSinceNStrategy>, 2},
      {"BARSCOUNT", &Make<BarsCountStrategy>, 1},
      {"BARSLAST", &Make<BarsLastStrategy>, 1},
      {"BARSNEXT", &Make<BarsNextStrategy>, 1},
      {"BARSSINCE", &Make<BarsSinceStrategy>, 1},
      {"CURRBARSCOUNT", &Make<CurrBarsCountStrategy>, 1},
      {"TOTALBARSCOUNT", &Make<TotalBarsCountStrategy>, 1},
      {"ISLASTBAR", &Make<IsLastBarStrategy>, 0},
      {"BARSTATUS", &Make<BarStatusStrategy>, 0},
  };
  const std::vector<DataExt> values = {
      Series({}),
      Series({2}),
      Series({INV, 1, kNaN, -1, 1e300, -kInf, 0, 3}),
      Series({-1, kNaN, 1e300, kInf, -kInf, 2.5, 0, -1e300}),
      Number(0),
      Number(-1),
      Number(1e300),
      Number(kNaN),
      Number(kInf),
      DataExt("text"),
      DataExt(DrawEntry()),
  };
  const size_t longest = 8;
  for (const Function& function : functions) {
    std::vector<size_t> pick(function.arity, 0);
    for (bool more = true; more;) {
      std::vector<DataExt> args;
      for (size_t k : pick) args.push_back(values[k]);
      for (size_t bars : {size_t{0}, size_t{5}}) {
        Environment env = EnvWithBars(bars);
        const DataExt got = function.make()->Exec(args, env, nullptr);
        ASSERT_TRUE(got.isListType()) << function.name;
        ASSERT_LE(got.getRawData().size(), longest) << function.name;
      }
      // Next combination, like an odometer.
      more = false;
      for (size_t k = 0; k < pick.size() && !more; ++k) {
        if (++pick[k] < values.size()) {
          more = true;
        } else {
          pick[k] = 0;
        }
      }
    }
  }
}

}  // namespace
