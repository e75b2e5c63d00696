// SAR and SARTURN over random-walk bars.

#include "bench_util.h"
#include "strategy/index/sar_strategy.h"
#include "strategy/index/sar_turn_strategy.h"

namespace {

const BarData& Bars() {
  static const BarData bars(bench::RandomBarRows(3));
  return bars;
}

const bool kRegistered = bench::Register(
    "Index", {
                 {"Sar", [] { return Sar(Bars(), 10, 2, 20); }},
                 {"SarTurn", [] { return SarTurn(Bars(), 10, 2, 20); }},
             });

}  // namespace
