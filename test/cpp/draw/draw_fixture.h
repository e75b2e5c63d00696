#pragma once

// Shared pieces of the drawing tests: a run context with a given number of
// bars, a one-line strategy call, and the per-bar fields of a record as
// series so that EXPECT_SERIES prints them side by side.

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "compiler/environment.h"
#include "series_expect.h"
#include "strategy/util/strategy.h"

inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// The record of the empty value: what a rejected argument gives.
inline const char* const kEmptyRecord =
    "{\"draw_name\":\"\",\"draw_text\":\"\",\"draw_type\":0,\"draw_kline_datas\":[],"
    "\"draw_positions\":[],\"part_lines\":[],\"draw_numbers\":[],\"draw_sls\":[],"
    "\"stick_lines\":[] }";

// Drawings read only their arguments; the bar count matters only where a
// single number is widened.
inline Environment EnvWithBars(size_t count) {
  Environment env;
  env.m_bars = std::make_shared<BarData>(std::vector<BarRow>(count));
  return env;
}

template <typename S>
DataExt Call(std::vector<DataExt> args, size_t bars = 0) {
  Environment env = EnvWithBars(bars);
  S strategy;
  return strategy.Exec(std::move(args), env, nullptr);
}

inline DataExt Text(const char* text) { return DataExt(std::string(text)); }

inline DataExt Drawing() {
  return DataExt(DrawEntry("POLYLINE", std::vector<DrawPositionEntry>{{1.0, 0.0}}));
}

inline std::vector<double> Prices(const DrawEntry& draw) {
  std::vector<double> out;
  for (const auto& p : draw.draw_positions) out.push_back(p.price);
  return out;
}

inline std::vector<double> Offsets(const DrawEntry& draw) {
  std::vector<double> out;
  for (const auto& p : draw.draw_positions) out.push_back(p.offset);
  return out;
}
