// Moving averages, with a constant period and with a per-bar period series.

#include "bench_util.h"
#include "strategy/reference/dma_strategy.h"
#include "strategy/reference/ema_strategy.h"
#include "strategy/reference/ma_strategy.h"
#include "strategy/reference/mema_strategy.h"
#include "strategy/reference/sma_strategy.h"
#include "strategy/reference/wma_strategy.h"

namespace {

using bench::Repeated;

const DataExt& Walk() {
  static const DataExt walk(bench::RandomWalk(42));
  return walk;
}

// Per-bar parameters that never change, made on first use.
const DataExt& Twenty() {
  static const DataExt n = Repeated(20);
  return n;
}
const DataExt& Twelve() {
  static const DataExt n = Repeated(12);
  return n;
}

const bool kRegistered = bench::Register(
    "Averages",
    {
        {"Ma/const20", [] { return Ma(Walk(), 20); }},
        {"Ma/perbar", [] { return Ma(Walk(), Twenty()); }},
        {"Ma/perbar_cumulative",
         [] {
           static const DataExt all = Repeated(1e12);
           return Ma(Walk(), all);
         }},
        {"Ema/perbar", [] { return Ema(Walk(), Twelve()); }},
        {"Sma/perbar",
         [] {
           static const DataExt m = Repeated(1);
           return Sma(Walk(), Twelve(), m);
         }},
        {"Wma/const20", [] { return Wma(Walk(), 20); }},
        {"Wma/perbar", [] { return Wma(Walk(), Twenty()); }},
        {"Mema/const20", [] { return Mema(Walk(), 20); }},
        {"Mema/perbar", [] { return Mema(Walk(), Twenty()); }},
        {"Dma/const", [] { return Dma(Walk(), 0.1); }},
        {"Dma/perbar",
         [] {
           static const DataExt a = Repeated(0.1);
           return Dma(Walk(), a);
         }},
    });

}  // namespace
