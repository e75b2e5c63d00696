// Every drawing Exec called with absurd argument kinds, counts and values:
// each call must return (the sanitizer build turns any out-of-range read or
// undefined conversion into a failure), and no list may be longer than the
// longest series or bar count it could have come from.

#include "draw_fixture.h"

namespace {

void ExpectBounded(const DataExt& got, size_t bars) {
  const size_t limit = std::max(kLongestHostileSeries, bars);
  const DrawEntry& d = got.m_draw_entry;
  for (size_t size : {got.m_raw_data.size(), d.draw_kline_datas.size(), d.draw_positions.size(),
                      d.part_lines.size(), d.draw_numbers.size(), d.draw_sls.size(),
                      d.stick_lines.size()}) {
    EXPECT_LE(size, limit);
  }
}

TEST(HostileArguments, EveryArgumentPositionAndKind) {
  const Maker all[] = {
      &Make<DrawLineStrategy>,    &Make<PolyLineStrategy>,    &Make<PartLineStrategy>,
      &Make<PartLine2Strategy>,   &Make<VertLineStrategy>,    &Make<DrawSLStrategy>,
      &Make<DrawTextStrategy>,    &Make<DrawIconStrategy>,    &Make<DrawNumberStrategy>,
      &Make<StickLineStrategy>,   &Make<ColorrgbStrategy>,    &Make<DrawKLineStrategy>,
      &Make<DrawBarLineStrategy>, &Make<DrawKLineExStrategy>,
  };
  for (Maker make : all) {
    for (size_t bars : {0, 3, 9}) {
      Environment env = EnvWithBars(bars);
      for (size_t count = 0; count <= 7; ++count) {
        for (const DataExt& value : HostileValues()) {
          // All arguments the same hostile value.
          ExpectBounded(make()->Exec(std::vector<DataExt>(count, value), env, nullptr), bars);
          // One hostile value among usable series, and next to a string (a
          // usable text or colour) in every other position.
          for (size_t at = 0; at < count; ++at) {
            for (const DataExt& rest : {Series({1, 2, 3}), Text("red")}) {
              std::vector<DataExt> args(count, rest);
              args[at] = value;
              ExpectBounded(make()->Exec(args, env, nullptr), bars);
            }
          }
        }
      }
    }
  }
}

}  // namespace
