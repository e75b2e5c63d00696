// Every drawing Exec called with absurd argument kinds, counts and values:
// each call must return (the sanitizer build turns any out-of-range read or
// undefined conversion into a failure), and no list may be longer than the
// longest series or bar count it could have come from.

#include <gtest/gtest.h>

#include <functional>

#include "draw_fixture.h"
#include "strategy/draw/colorrgb_strategy.h"
#include "strategy/draw/draw_bar_line_strategy.h"
#include "strategy/draw/draw_icon_strategy.h"
#include "strategy/draw/draw_kline_ex_strategy.h"
#include "strategy/draw/draw_kline_strategy.h"
#include "strategy/draw/draw_line_strategy.h"
#include "strategy/draw/draw_number_strategy.h"
#include "strategy/draw/draw_sl_strategy.h"
#include "strategy/draw/draw_text_strategy.h"
#include "strategy/draw/part_line2_strategy.h"
#include "strategy/draw/part_line_strategy.h"
#include "strategy/draw/poly_line_strategy.h"
#include "strategy/draw/stick_line_strategy.h"
#include "strategy/draw/vert_line_strategy.h"

namespace {

using Exec = std::function<DataExt(std::vector<DataExt>, Environment&)>;

template <typename S>
Exec ExecOf() {
  return [](std::vector<DataExt> args, Environment& env) {
    S strategy;
    return strategy.Exec(std::move(args), env, nullptr);
  };
}

const std::vector<std::pair<const char*, Exec>>& Strategies() {
  static const std::vector<std::pair<const char*, Exec>> all = {
      {"DRAWLINE", ExecOf<DrawLineStrategy>()},     {"POLYLINE", ExecOf<PolyLineStrategy>()},
      {"PARTLINE", ExecOf<PartLineStrategy>()},     {"PARTLINE2", ExecOf<PartLine2Strategy>()},
      {"VERTLINE", ExecOf<VertLineStrategy>()},     {"DRAWSL", ExecOf<DrawSLStrategy>()},
      {"DRAWTEXT", ExecOf<DrawTextStrategy>()},     {"DRAWICON", ExecOf<DrawIconStrategy>()},
      {"DRAWNUMBER", ExecOf<DrawNumberStrategy>()}, {"STICKLINE", ExecOf<StickLineStrategy>()},
      {"COLORRGB", ExecOf<ColorrgbStrategy>()},     {"DRAWKLINE", ExecOf<DrawKLineStrategy>()},
      {"DRAWBARLINE", ExecOf<DrawBarLineStrategy>()},
      {"DRAWKLINEEX", ExecOf<DrawKLineExStrategy>()},
  };
  return all;
}

const std::vector<DataExt>& Pool() {
  static const std::vector<DataExt> pool = {
      Series({}),           Series({1}),         Series({1, INV, NaN}), Number(0),
      Number(-1),           Number(1e300),       Number(NaN),           Number(INFINITY),
      Number(-INFINITY),    Text("x"),           Drawing(),
  };
  return pool;
}

constexpr size_t kLongestSeries = 3;

void ExpectBounded(const DataExt& got, size_t bars) {
  size_t limit = std::max(kLongestSeries, bars);
  const DrawEntry& d = got.m_draw_entry;
  EXPECT_LE(got.m_raw_data.size(), limit);
  EXPECT_LE(d.draw_kline_datas.size(), limit);
  EXPECT_LE(d.draw_positions.size(), limit);
  EXPECT_LE(d.part_lines.size(), limit);
  EXPECT_LE(d.draw_numbers.size(), limit);
  EXPECT_LE(d.draw_sls.size(), limit);
  EXPECT_LE(d.stick_lines.size(), limit);
}

TEST(HostileArguments, EveryArgumentPositionAndKind) {
  for (const auto& [name, exec] : Strategies()) {
    SCOPED_TRACE(name);
    for (size_t bars : {0, 2, 3, 5}) {
      Environment env = EnvWithBars(bars);
      for (size_t count = 0; count <= 7; ++count) {
        for (const DataExt& value : Pool()) {
          // All arguments the same hostile value.
          ExpectBounded(exec(std::vector<DataExt>(count, value), env), bars);
          // One hostile value among usable series, and next to a string
          // (a usable text or colour) in every other position.
          for (size_t at = 0; at < count; ++at) {
            for (const DataExt& rest : {Series({1, 2, 3}), Text("red")}) {
              std::vector<DataExt> args(count, rest);
              args[at] = value;
              ExpectBounded(exec(args, env), bars);
            }
          }
        }
      }
    }
  }
}

}  // namespace
