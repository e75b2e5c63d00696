// REF, REFX, CONST and ALIGNRIGHT: every expected value is an element of the
// input moved by hand to where the function should put it.

#include <limits>

#include "series_expect.h"
#include "strategy/reference/align_right_strategy.h"
#include "strategy/reference/const_strategy.h"
#include "strategy/reference/ref_strategy.h"
#include "strategy/reference/refx_strategy.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ShiftCase {
  const char* note;
  std::vector<double> x;
  unsigned long n;
  std::vector<double> want;
};

struct PerBarShiftCase {
  const char* note;
  std::vector<double> x;
  std::vector<double> n;
  std::vector<double> want;
};

TEST(RefTest, ConstantCount) {
  const ShiftCase cases[] = {
      {"one bar back", {1, 2, 3}, 1, {INV, 1, 2}},
      {"zero is a copy", {1, INV, 3}, 0, {1, INV, 3}},
      {"invalid values and NaN are copied", {kNaN, INV, 3}, 1, {INV, kNaN, INV}},
      {"huge count", {1, 2}, ~0UL, {INV, INV}},
      {"empty", {}, 1, {}},
  };
  for (const ShiftCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Ref(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(RefTest, PerBarCount) {
  const PerBarShiftCase cases[] = {
      {"zero and negative read the current bar", {1, 2, 3, 4}, {0, -2, 2, 1}, {1, 2, 1, 3}},
      {"fraction and NaN", {1, 2, 3}, {0.5, 1.9, kNaN}, {1, 1, 3}},
      {"count beyond the history", {1, 2}, {1, 1e300}, {INV, INV}},
      {"shorter count series", {1, 2, 3}, {1, 1}, {INV, 1}},
  };
  for (const PerBarShiftCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Ref(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(RefxTest, ConstantCount) {
  const ShiftCase cases[] = {
      {"one bar ahead", {1, 2, 3}, 1, {2, 3, INV}},
      {"zero is a copy", {1, INV}, 0, {1, INV}},
      {"huge count", {1, 2}, ~0UL, {INV, INV}},
  };
  for (const ShiftCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Refx(Series(c.x), c.n).getRawData(), (c.want));
  }
}

TEST(RefxTest, PerBarCount) {
  const PerBarShiftCase cases[] = {
      {"mixed counts", {1, 2, 3, 4}, {1, 0, 5, -1}, {2, 2, INV, 4}},
      {"huge count", {1, 2}, {1e300, 0}, {INV, 2}},
      {"shorter count series", {1, 2, 3}, {2}, {3}},
  };
  for (const PerBarShiftCase& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Refx(Series(c.x), Series(c.n)).getRawData(), (c.want));
  }
}

TEST(ConstAndAlignRightTest, Reshape) {
  struct Case {
    const char* note;
    std::vector<double> x;
    std::vector<double> want_const;
    std::vector<double> want_align;
  };
  const Case cases[] = {
      {"worked examples", {1, 2, 3}, {3, 3, 3}, {1, 2, 3}},
      {"gaps gather at the left", {INV, 1, INV, 2}, {2, 2, 2, 2}, {INV, INV, 1, 2}},
      {"last value invalid", {1, INV}, {INV, INV}, {INV, 1}},
      {"NaN is a value", {kNaN, INV}, {INV, INV}, {INV, kNaN}},
      {"empty", {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    EXPECT_SERIES(Const(Series(c.x)).getRawData(), (c.want_const));
    EXPECT_SERIES(AlignRight(Series(c.x)).getRawData(), (c.want_align));
  }
}

}  // namespace
