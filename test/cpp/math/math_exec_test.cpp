// Every Exec of the math family with hostile argument combinations: each
// call returns a series no longer than the bars (run under the sanitizer
// build too).

#include <limits>

#include "math_strategies.h"
#include "series_expect.h"

namespace {

template <typename... Strategies>
std::vector<std::unique_ptr<Strategy>> MakeAll() {
  std::vector<std::unique_ptr<Strategy>> all;
  (all.push_back(std::make_unique<Strategies>()), ...);
  return all;
}

TEST(MathExec, HostileArgumentsAlwaysReturnASeries) {
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInf = std::numeric_limits<double>::infinity();
  const std::vector<DataExt> values = {Series({}),          Series({1, INV, kNaN}), Number(0),
                                       Number(-1),          Number(1e300),          Number(kNaN),
                                       Number(kInf),        Number(-2147483648.0),  DataExt("x"),
                                       DataExt(DrawEntry())};
  const auto strategies =
      MakeAll<AbsStrategy, ACosStrategy, ASinStrategy, ATanStrategy, CeilingStrategy, CosStrategy,
              ExpStrategy, FloorStrategy, FracPartStrategy, IntPartStrategy, LnStrategy,
              LogStrategy, ReverseStrategy, RoundStrategy, SignStrategy, SinStrategy, SqrtStrategy,
              TanStrategy, MaxStrategy, MinStrategy, ModStrategy, PowStrategy, Round2Strategy,
              RandStrategy>();
  for (Environment env : {EnvWithCloses({}), EnvWithCloses({1, 2, 3, 4, 5})}) {
    for (const auto& strategy : strategies) {
      EXPECT_TRUE(strategy->Exec({}, env, nullptr).isListType());
      for (const DataExt& a : values) {
        EXPECT_TRUE(strategy->Exec({a}, env, nullptr).isListType());
        for (const DataExt& b : values) {
          DataExt got = strategy->Exec({a, b}, env, nullptr);
          EXPECT_TRUE(got.isListType());
          EXPECT_LE(got.m_raw_data.size(), 5u);
        }
      }
    }
  }
}

}  // namespace
