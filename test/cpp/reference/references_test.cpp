// REF, REFX, CONST, ALIGNRIGHT, ZTPRICE and DTPRICE through Exec: every
// expected value is an element of the input moved by hand to where the
// function should put it, or a product worked out beside it.

#include "reference_strategies.h"

namespace {

TEST(RefTest, ConstantAndPerBarCount) {
  const Maker ref = &Make<RefStrategy>, refx = &Make<RefxStrategy>;
  ExpectExecCases({
      {"REF one bar back", ref, {Series({1, 2, 3}), Number(1)}, {INV, 1, 2}},
      {"REF zero is a copy", ref, {Series({1, INV, 3}), Number(0)}, {1, INV, 3}},
      {"REF: invalid values and NaN are copied", ref, {Series({kNaN, INV, 3}), Number(1)},
       {INV, kNaN, INV}},
      {"REF huge count", ref, {Series({1, 2}), Number(1e300)}, {INV, INV}},
      {"REF per-bar: zero and negative read the current bar", ref,
       {Series({1, 2, 3, 4}), Series({0, -2, 2, 1})}, {1, 2, 1, 3}},
      {"REF per-bar: fraction and NaN", ref, {Series({1, 2, 3}), Series({0.5, 1.9, kNaN})},
       {1, 1, 3}},
      {"REF per-bar: count beyond the history", ref, {Series({1, 2}), Series({1, 1e300})},
       {INV, INV}},
      {"REFX one bar ahead", refx, {Series({1, 2, 3}), Number(1)}, {2, 3, INV}},
      {"REFX huge count", refx, {Series({1, 2}), Number(1e300)}, {INV, INV}},
      {"REFX per-bar: mixed counts", refx, {Series({1, 2, 3, 4}), Series({1, 0, 5, -1})},
       {2, 2, INV, 4}},
      {"REFX per-bar: huge count", refx, {Series({1, 2}), Series({1e300, 0})}, {INV, 2}},
  });
}

TEST(ConstAndAlignRightTest, Reshape) {
  struct Case {
    const char* note;
    std::vector<double> x, want_const, want_align;
  };
  const Case cases[] = {
      {"worked examples", {1, 2, 3}, {3, 3, 3}, {1, 2, 3}},
      {"gaps gather at the left", {INV, 1, INV, 2}, {2, 2, 2, 2}, {INV, INV, 1, 2}},
      {"last value invalid", {1, INV}, {INV, INV}, {INV, 1}},
      {"NaN is a value", {kNaN, INV}, {INV, INV}, {INV, kNaN}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Const(Series(c.x)).getRawData(), (c.want_const));
    EXPECT_SERIES(AlignRight(Series(c.x)).getRawData(), (c.want_align));
  }
}

// Plain products, no rounding to a price tick.
TEST(PriceLimitTest, ConstantAndPerBarRatio) {
  const Maker up = &Make<ZtPriceStrategy>, down = &Make<DtPriceStrategy>;
  ExpectExecCases({
      {"ZTPRICE worked example", up, {Series({10}), Number(0.1)}, {11}},
      {"DTPRICE worked example", down, {Series({10}), Number(0.1)}, {9}},
      // Product first, then the sum: not 10.5 * 1.1.
      {"ZTPRICE: no rounding", up, {Series({10.5}), Number(0.1)}, {10.5 * 0.1 + 10.5}},
      {"DTPRICE: no rounding", down, {Series({10.5}), Number(0.1)}, {10.5 - 10.5 * 0.1}},
      {"invalid price bar", up, {Series({10, INV, 20}), Number(0.5)}, {15, INV, 30}},
      {"invalid ratio", down, {Series({10, 20}), Number(INV)}, {INV, INV}},
      {"per-bar ratio", down, {Series({10, 10}), Series({0.1, 0.5})}, {9, 5}},
      {"invalid ratio bar", up, {Series({10, 10}), Series({INV, 0.5})}, {INV, 15}},
      {"shorter ratio series", up, {Series({10, 10, 10}), Series({0.5})}, {15}},
  });
}

}  // namespace
