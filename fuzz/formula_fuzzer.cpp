// libFuzzer target over the whole core: compile a formula, then run it over
// bars and a period taken from the input.
//
// Input layout: byte 0 is the number of bars (0 to 255), bytes 1 and 2 the
// period in minutes (little endian), byte 3 seeds the bar values; the rest
// is the formula text. Bar values mix ordinary prices with the values that
// find corners: the invalid value, 0, negatives, NaN, infinities, huge and
// tiny numbers, and bars without a time.
//
// Every input must end in a report or an output text. The one refusal
// allowed to escape Run is OutputTooLong (a result beyond what a host can
// hold); anything else thrown, a crash or a sanitizer report is a finding,
// and so is a run continued after a tick whose text differs from a fresh
// run's over the same bars.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "compiler/bar_data.h"
#include "compiler/compiler.h"
#include "util/output_limit.h"

namespace {

constexpr size_t kHeader = 4;

// A small deterministic generator: the same input always gives the same bars.
struct Mixer {
  uint64_t state;
  uint64_t Next() {
    state += 0x9e3779b97f4a7c15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
};

double Value(Mixer& mix, double level) {
  static const double kCorners[] = {-100000.0,
                                    0.0,
                                    -0.0,
                                    -1.0,
                                    1e300,
                                    -1e300,
                                    5e-324,
                                    std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    18446744073709551616.0,
                                    2147483648.0};
  const uint64_t r = mix.Next();
  if (r % 16 == 0) return kCorners[(r >> 8) % (sizeof kCorners / sizeof kCorners[0])];
  return level + static_cast<double>(static_cast<int64_t>((r >> 16) % 2001) - 1000) / 100.0;
}

std::vector<BarRow> MakeBars(size_t count, uint8_t seed) {
  Mixer mix{seed * 0x100000001b3ull + 1};
  std::vector<BarRow> rows(count);
  double level = 100.0;
  for (size_t i = 0; i < count; ++i) {
    level += static_cast<double>(static_cast<int64_t>(mix.Next() % 21) - 10) / 10.0;
    BarRow& row = rows[i];
    row.close = Value(mix, level);
    row.open = Value(mix, level);
    row.high = Value(mix, level + 1.0);
    row.low = Value(mix, level - 1.0);
    row.vol = Value(mix, 1000.0);
    const bool has_time = mix.Next() % 32 != 0;
    // Daily bars from 2000-01-03, with now and then a time out of range.
    const double time = mix.Next() % 64 == 0 ? Value(mix, 0.0) : 946857600000.0 + 86400000.0 * i;
    if (has_time) row.time = time;
  }
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  const size_t bar_count = data[0];
  const unsigned long period = static_cast<unsigned long>(data[1]) | (static_cast<unsigned long>(data[2]) << 8);
  const std::string formula(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

  std::vector<BarRow> rows = MakeBars(bar_count, data[3]);
  Compiler compiler(formula);
  compiler.Bars().Assign(rows);
  if (!compiler.Compile().empty()) return 0;
  compiler.Period(period);
  try {
    // Twice: the second run starts from the state the first one left.
    compiler.Run();
    compiler.Run();
    // A tick on the last bar and a new bar: the run that continues from the
    // kept values must give the text of a fresh run over the same bars
    // (RAND draws anew on every run, so it cannot be compared).
    const std::vector<BarRow> tick = MakeBars(2, static_cast<uint8_t>(data[3] ^ 0x5a));
    compiler.Bars().ReplaceLast(tick[0]);
    compiler.Bars().Append(std::vector<BarRow>{tick[1]});
    if (rows.empty()) rows.push_back(tick[0]); else rows.back() = tick[0];
    rows.push_back(tick[1]);
    const std::string continued = compiler.Run();
    if (formula.find("RAND") == std::string::npos) {
      Compiler fresh(formula);
      fresh.Bars().Assign(rows);
      fresh.Compile();
      fresh.Period(period);
      if (fresh.Run() != continued) __builtin_trap();
    }
  } catch (const OutputTooLong&) {
  }
  return 0;
}
