// Drawing functions. Constant-width variants go through Exec, which widens
// the numbers.

#include <memory>

#include "bench_util.h"
#include "compiler/environment.h"
#include "strategy/draw/draw_icon_strategy.h"
#include "strategy/draw/draw_kline_ex_strategy.h"
#include "strategy/draw/draw_kline_strategy.h"
#include "strategy/draw/draw_line_strategy.h"
#include "strategy/draw/draw_number_strategy.h"
#include "strategy/draw/draw_sl_strategy.h"
#include "strategy/draw/draw_text_strategy.h"
#include "strategy/draw/part_line2_strategy.h"
#include "strategy/draw/poly_line_strategy.h"
#include "strategy/draw/stick_line_strategy.h"
#include "strategy/draw/vert_line_strategy.h"

namespace {

struct Inputs {
  Environment env;
  DataExt open, high, low, close, up, down, slope;

  Inputs() {
    auto bars = std::make_shared<BarData>(bench::RandomBarRows(42));
    open = DataExt(bars->Open());
    high = DataExt(bars->High());
    low = DataExt(bars->Low());
    close = DataExt(bars->Close());
    std::vector<double> rose(bench::kBars), fell(bench::kBars);
    for (size_t i = 0; i < bench::kBars; ++i) {
      rose[i] = bars->Close()[i] > bars->Open()[i] ? 1.0 : 0.0;
      fell[i] = 1.0 - rose[i];
    }
    up = DataExt(std::move(rose));
    down = DataExt(std::move(fell));
    std::vector<double> slopes = bench::RandomWalk(43, 0.1);
    for (double& s : slopes) s -= 1000.0;
    slope = DataExt(std::move(slopes));
    env.m_bars = std::move(bars);
  }
};

const Inputs& D() {
  static const Inputs inputs;
  return inputs;
}

template <typename S>
DataExt ExecOn(std::vector<DataExt> args) {
  S strategy;
  Environment env = D().env;
  return strategy.Exec(std::move(args), env, nullptr);
}

const bool kRegistered = bench::Register(
    "Draw",
    {
        {"DrawLine", [] { return DrawLine(D().up, D().low, D().down, D().high, 1); }},
        {"PolyLine", [] { return PolyLine(D().up, D().close); }},
        {"PartLine2",
         [] {
           const std::vector<DataExt> pairs = {D().up, DataExt("COLORRGB(255,0,0)"), D().down,
                                               DataExt("green")};
           return PartLine2(D().close, pairs);
         }},
        {"VertLine", [] { return VertLine(D().up, DataExt(2.0)); }},
        {"DrawSL/constant_length",
         [] {
           return ExecOn<DrawSLStrategy>({D().up, D().close, D().slope, DataExt(10.0),
                                          DataExt(1.0)});
         }},
        {"DrawSL/perbar_length",
         [] { return DrawSL(D().up, D().close, D().slope, D().close, D().up); }},
        {"DrawText/constant_price",
         [] { return DrawText(D().up, DataExt(10.0), DataExt("up"), DataExt(2.0)); }},
        {"DrawText/perbar_price",
         [] { return DrawText(D().up, D().low, DataExt("up"), D().slope); }},
        {"DrawIcon", [] { return DrawIcon(D().up, D().high, DataExt(3.0), DataExt()); }},
        {"DrawNumber", [] { return DrawNumber(D().up, D().high, D().close, 2); }},
        {"StickLine/constant_width",
         [] {
           return ExecOn<StickLineStrategy>({D().up, D().open, D().close, DataExt(0.8),
                                             DataExt(0.0)});
         }},
        {"StickLine/perbar_width",
         [] { return StickLine(D().up, D().open, D().close, D().slope, D().down); }},
        {"DrawKLine", [] { return DrawKLine(D().high, D().open, D().low, D().close); }},
        {"DrawKLineEx",
         [] { return DrawKLineEx(D().up, D().high, D().open, D().low, D().close); }},
    });

}  // namespace
