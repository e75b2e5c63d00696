// Counting and bars-since functions, constant and per-bar periods.

#include "bench_util.h"
#include "strategy/reference/bars_count_strategy.h"
#include "strategy/reference/bars_last_strategy.h"
#include "strategy/reference/bars_next_strategy.h"
#include "strategy/reference/bars_since_n_strategy.h"
#include "strategy/reference/bars_since_strategy.h"
#include "strategy/reference/count_strategy.h"
#include "strategy/reference/curr_bars_count_strategy.h"
#include "strategy/reference/total_bars_count_strategy.h"

namespace {

struct Inputs {
  DataExt up{bench::Moves(bench::RandomWalk(7), true)};  // 1 where the walk rose
  DataExt rare{bench::RandomFlags(8, 200)};               // 1 on about one bar in 200
  DataExt periods{bench::RandomWholeNumbers(9, 1, 50)};
};

const Inputs& Data() {
  static const Inputs inputs;
  return inputs;
}

const bool kRegistered = bench::Register(
    "Counting",
    {
        {"Count/const20", [] { return Count(Data().up, 20); }},
        {"Count/all", [] { return Count(Data().up, 0); }},
        {"Count2/perbar", [] { return Count2(Data().up, Data().periods); }},
        {"BarsSinceN/const20", [] { return BarsSinceN(Data().rare, 20); }},
        {"BarsSinceN/perbar", [] { return BarsSinceN(Data().rare, Data().periods); }},
        {"BarsCount", [] { return BarsCount(Data().up); }},
        {"BarsLast", [] { return BarsLast(Data().rare); }},
        {"BarsNext", [] { return BarsNext(Data().rare); }},
        {"BarsSince", [] { return BarsSince(Data().rare); }},
        {"CurrBarsCount", [] { return CurrBarsCount(Data().up); }},
        {"TotalBarsCount", [] { return TotalBarsCount(Data().up); }},
    });

}  // namespace
