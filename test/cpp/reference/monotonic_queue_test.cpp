// The monotonic queue's ring: the window extremes built on it are checked
// against rescans in extrema_naive_test.cpp; here, a caller that pushes more
// than the capacity must not write outside the ring.

#include "strategy/util/monotonic_queue.h"
#include "strategy_test_util.h"

namespace {

TEST(MonotonicQueueTest, OverfilledRingDropsItsOldestEntry) {
  const std::vector<double> x = {5, 4, 3, 2, 1};
  MonotonicQueue<EvictSmaller> queue(x, 2);
  for (size_t i = 0; i < x.size(); ++i) queue.Push(i);
  EXPECT_EQ(queue.Size(), 2u);
  EXPECT_EQ(queue.Front(), 3u);
}

}  // namespace
