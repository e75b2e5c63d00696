// Drawing functions over 1,000,000 bars of a deterministic random walk.
// Constant-width variants go through Exec, which widens the numbers.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

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

constexpr size_t kBars = 1000000;

struct Walk {
  DataExt open, high, low, close, up, down, slope;
  Environment env;

  Walk() {
    std::mt19937_64 random(42);
    std::normal_distribution<double> step(0.0, 1.0);
    std::vector<double> o, h, l, c, u, d, s;
    double price = 1000.0;
    for (size_t i = 0; i < kBars; ++i) {
      double first = price;
      price += step(random);
      o.push_back(first);
      c.push_back(price);
      h.push_back(std::max(first, price) + std::abs(step(random)));
      l.push_back(std::min(first, price) - std::abs(step(random)));
      u.push_back(price > first ? 1.0 : 0.0);
      d.push_back(price <= first ? 1.0 : 0.0);
      s.push_back(step(random) * 0.1);
    }
    open = DataExt(std::move(o));
    high = DataExt(std::move(h));
    low = DataExt(std::move(l));
    close = DataExt(std::move(c));
    up = DataExt(std::move(u));
    down = DataExt(std::move(d));
    slope = DataExt(std::move(s));
    env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(kBars));
  }
};

const Walk& Data() {
  static const Walk walk;
  return walk;
}

void Report(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBars));
  state.counters["ns_per_bar"] = benchmark::Counter(
      static_cast<double>(kBars),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <typename S>
DataExt ExecOn(std::vector<DataExt> args) {
  S strategy;
  Environment env = Data().env;
  return strategy.Exec(std::move(args), env, nullptr);
}

void BM_DrawLine(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(DrawLine(w.up, w.low, w.down, w.high, 1));
  Report(state);
}

void BM_PolyLine(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(PolyLine(w.up, w.close));
  Report(state);
}

void BM_PartLine2(benchmark::State& state) {
  const Walk& w = Data();
  std::vector<DataExt> pairs = {w.up, DataExt("COLORRGB(255,0,0)"), w.down, DataExt("green")};
  for (auto _ : state) benchmark::DoNotOptimize(PartLine2(w.close, pairs));
  Report(state);
}

void BM_VertLine(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(VertLine(w.up, DataExt(2.0)));
  Report(state);
}

void BM_DrawSL_ConstantLength(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ExecOn<DrawSLStrategy>({w.up, w.close, w.slope, DataExt(10.0), DataExt(1.0)}));
  }
  Report(state);
}

void BM_DrawSL_PerBarLength(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(DrawSL(w.up, w.close, w.slope, w.close, w.up));
  Report(state);
}

void BM_DrawText_ConstantPrice(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawText(w.up, DataExt(10.0), DataExt("up"), DataExt(2.0)));
  }
  Report(state);
}

void BM_DrawText_PerBarPrice(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(DrawText(w.up, w.low, DataExt("up"), w.slope));
  Report(state);
}

void BM_DrawIcon(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(DrawIcon(w.up, w.high, DataExt(3.0), DataExt()));
  Report(state);
}

void BM_DrawNumber(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(DrawNumber(w.up, w.high, w.close, 2));
  Report(state);
}

void BM_StickLine_ConstantWidth(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        ExecOn<StickLineStrategy>({w.up, w.open, w.close, DataExt(0.8), DataExt(0.0)}));
  }
  Report(state);
}

void BM_StickLine_PerBarWidth(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(StickLine(w.up, w.open, w.close, w.slope, w.down));
  }
  Report(state);
}

void BM_DrawKLine(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) benchmark::DoNotOptimize(DrawKLine(w.high, w.open, w.low, w.close));
  Report(state);
}

void BM_DrawKLineEx(benchmark::State& state) {
  const Walk& w = Data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawKLineEx(w.up, w.high, w.open, w.low, w.close));
  }
  Report(state);
}

}  // namespace

BENCHMARK(BM_DrawLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolyLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartLine2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VertLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSL_ConstantLength)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawSL_PerBarLength)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawText_ConstantPrice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawText_PerBarPrice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawIcon)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StickLine_ConstantWidth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StickLine_PerBarWidth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawKLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawKLineEx)->Unit(benchmark::kMillisecond);
