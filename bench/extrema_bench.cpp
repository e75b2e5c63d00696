// Window extremes, ranks, ranges and the FIND searches, constant and per-bar
// periods.

#include "bench_util.h"
#include "strategy/reference/find_high_bars_strategy.h"
#include "strategy/reference/find_high_strategy.h"
#include "strategy/reference/find_low_strategy.h"
#include "strategy/reference/hhv_bars_strategy.h"
#include "strategy/reference/hhv_strategy.h"
#include "strategy/reference/hod_strategy.h"
#include "strategy/reference/llv_bars_strategy.h"
#include "strategy/reference/llv_strategy.h"
#include "strategy/reference/lod_strategy.h"
#include "strategy/reference/low_range_strategy.h"
#include "strategy/reference/top_range_strategy.h"

namespace {

struct Inputs {
  DataExt x{bench::RandomWalk(42)};
  DataExt periods{bench::RandomWholeNumbers(43, 1, 50)};
  DataExt offsets{bench::RandomWholeNumbers(44, 0, 5)};  // FIND: N per bar
  DataExt spans{bench::RandomWholeNumbers(45, 10, 30)};  // FIND: M per bar
  DataExt ranks{bench::RandomWholeNumbers(46, 1, 3)};    // FIND: T per bar
};

const Inputs& Data() {
  static const Inputs inputs;
  return inputs;
}

const bool kRegistered = bench::Register(
    "Extrema",
    {
        {"Hhv/const20", [] { return Hhv(Data().x, 20.0); }},
        {"Hhv/const250", [] { return Hhv(Data().x, 250.0); }},
        {"Hhv/all", [] { return Hhv(Data().x); }},
        {"Hhv/perbar", [] { return Hhv(Data().x, Data().periods); }},
        {"Llv/const20", [] { return Llv(Data().x, 20); }},
        {"Llv/perbar", [] { return Llv(Data().x, Data().periods); }},
        {"HhvBars/const20", [] { return HhvBars(Data().x, 20); }},
        {"HhvBars/perbar", [] { return HhvBars(Data().x, Data().periods); }},
        {"LlvBars/const20", [] { return LlvBars(Data().x, 20); }},
        {"LlvBars/perbar", [] { return LlvBars(Data().x, Data().periods); }},
        {"Hod/const20", [] { return Hod(Data().x, 20); }},
        {"Hod/const250", [] { return Hod(Data().x, 250); }},
        {"Hod/const2000", [] { return Hod(Data().x, 2000); }},
        {"Hod/perbar", [] { return Hod(Data().x, Data().periods); }},
        {"Lod/const20", [] { return Lod(Data().x, 20); }},
        {"TopRange", [] { return TopRange(Data().x); }},
        {"LowRange", [] { return LowRange(Data().x); }},
        {"FindHigh/const", [] { return FindHigh(Data().x, 2, 20, 3); }},
        {"FindHigh/perbar",
         [] { return FindHigh(Data().x, Data().offsets, Data().spans, Data().ranks); }},
        {"FindLow/const", [] { return FindLow(Data().x, 2, 20, 3); }},
        {"FindHighBars/const", [] { return FindHighBars(Data().x, 2, 20, 3); }},
    });

}  // namespace
