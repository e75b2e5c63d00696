// BETWEEN (inclusive, bounds in either order) and RANGE (strict, lower
// bound first; result pre-filled with 0 to the length of the first input).
// Expected values are hand-computed.

#include "logic_strategies.h"

namespace {

struct BoundsCase {
  const char* what;
  std::vector<double> a;
  std::vector<double> lower;
  std::vector<double> upper;
  std::vector<double> between;
  std::vector<double> range;
};

TEST(Bounds, SeriesVariant) {
  const BoundsCase cases[] = {
      {"inside, edges, outside",
       {5, 3, 7, 8},
       {3, 3, 3, 3},
       {7, 7, 7, 7},
       {1, 1, 1, 0},
       {1, 0, 0, 0}},
      {"bounds reversed", {5, 3}, {7, 7}, {3, 3}, {1, 1}, {0, 0}},
      {"invalid anywhere", {INV, 5, 5}, {3, INV, 3}, {7, 7, INV}, {INV, INV, INV}, {INV, INV, INV}},
      {"nan value", {kNaN}, {3}, {7}, {0}, {0}},
      // BETWEEN stops at the shortest input; RANGE keeps a's length with 0.
      {"shorter bounds", {5, 5, 5}, {3}, {7, 7}, {1}, {1, 0, 0}},
      {"empty bound", {5, 5}, {}, {7, 7}, {}, {0, 0}},
  };
  for (const BoundsCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_SERIES(Between(Series(c.a), Series(c.lower), Series(c.upper)).m_raw_data, (c.between));
    EXPECT_SERIES(Range(Series(c.a), Series(c.lower), Series(c.upper)).m_raw_data, (c.range));
  }
}

struct NumberBoundsCase {
  double lower;
  double upper;
  std::vector<double> between;  // for a = 5, 3, 7, 2, INV
  std::vector<double> range;
};

TEST(Bounds, NumberVariant) {
  const NumberBoundsCase cases[] = {
      {3, 7, {1, 1, 1, 0, INV}, {1, 0, 0, 0, INV}},
      {7, 3, {1, 1, 1, 0, INV}, {0, 0, 0, 0, INV}},
      {INV, 7, {INV, INV, INV, INV, INV}, {INV, INV, INV, INV, INV}},
      {3, INV, {INV, INV, INV, INV, INV}, {INV, INV, INV, INV, INV}},
  };
  for (const NumberBoundsCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lower << ", " << c.upper);
    EXPECT_SERIES(Between(Series({5, 3, 7, 2, INV}), c.lower, c.upper).m_raw_data, (c.between));
    EXPECT_SERIES(Range(Series({5, 3, 7, 2, INV}), c.lower, c.upper).m_raw_data, (c.range));
  }
}

}  // namespace
