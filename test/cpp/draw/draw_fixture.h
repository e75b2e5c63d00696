#pragma once

// Shared pieces of the drawing tests: every drawing strategy header, the
// record of the empty value and the per-bar fields of a record as series, so
// that EXPECT_SERIES prints them side by side.

#include <string>
#include <vector>

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
#include "strategy_test_util.h"

// The record of the empty value: what a rejected argument gives.
inline const char* const kEmptyRecord =
    "{\"draw_name\":\"\",\"draw_text\":\"\",\"draw_type\":0,\"draw_kline_datas\":[],"
    "\"draw_positions\":[],\"part_lines\":[],\"draw_numbers\":[],\"draw_sls\":[],"
    "\"stick_lines\":[] }";

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
