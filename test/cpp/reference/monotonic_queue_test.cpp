// The monotonic queue and stack against a plain rescan of every window, over
// random series drawn from a few values so that ties are frequent.

#include <cstddef>
#include <random>
#include <vector>

#include "series_expect.h"
#include "strategy/util/monotonic_queue.h"

namespace {

std::vector<double> TieHeavySeries(std::mt19937& rng, size_t count) {
  std::uniform_int_distribution<int> value(0, 3);
  std::vector<double> out;
  for (size_t i = 0; i < count; ++i) out.push_back(value(rng));
  return out;
}

// Index of the extreme of x[from..to]: `better(a, b)` says a replaces the
// current pick b, scanning forward.
template <typename Better>
size_t Rescan(const std::vector<double>& x, size_t from, size_t to, Better better) {
  size_t pick = from;
  for (size_t k = from + 1; k <= to; ++k) {
    if (better(x[k], x[pick])) pick = k;
  }
  return pick;
}

// Rules under test with the rescan that defines each.
struct QueueCase {
  const char* note;
  size_t (*queue_front)(const std::vector<double>&, size_t window, std::vector<size_t>&);
  bool (*better)(double candidate, double pick);
};

template <typename Evicts>
size_t RunQueue(const std::vector<double>& x, size_t window, std::vector<size_t>& fronts) {
  MonotonicQueue<Evicts> queue(x, window);
  size_t most = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    queue.ExpireBefore(i + 1 >= window ? i + 1 - window : 0);
    queue.Push(i);
    fronts.push_back(queue.Front());
    if (queue.Size() > most) most = queue.Size();
  }
  return most;
}

TEST(MonotonicQueueTest, FrontIsTheWindowExtremeWithItsTieRule) {
  const std::vector<QueueCase> cases = {
      {"maximum, oldest of equals", &RunQueue<EvictSmaller>,
       [](double c, double p) { return c > p; }},
      {"minimum, oldest of equals", &RunQueue<EvictGreater>,
       [](double c, double p) { return c < p; }},
      {"minimum, newest of equals", &RunQueue<EvictGreaterOrEqual>,
       [](double c, double p) { return c <= p; }},
  };
  std::mt19937 rng(7);
  for (const QueueCase& c : cases) {
    for (size_t window = 1; window <= 9; ++window) {
      const std::vector<double> x = TieHeavySeries(rng, 200);
      std::vector<size_t> fronts;
      const size_t most = c.queue_front(x, window, fronts);
      EXPECT_LE(most, window) << c.note << ": the queue outgrew its window";
      for (size_t i = 0; i < x.size(); ++i) {
        const size_t from = i + 1 >= window ? i + 1 - window : 0;
        ASSERT_EQ(fronts[i], Rescan(x, from, i, c.better))
            << c.note << ", window " << window << ", bar " << i;
      }
    }
  }
}

TEST(MonotonicQueueTest, OverfilledRingDropsItsOldestEntry) {
  // Pushing without expiry past the capacity must stay inside the ring.
  const std::vector<double> x = {5, 4, 3, 2, 1};
  MonotonicQueue<EvictSmaller> queue(x, 2);
  for (size_t i = 0; i < x.size(); ++i) queue.Push(i);
  EXPECT_EQ(queue.Size(), 2u);
  EXPECT_EQ(queue.Front(), 3u);
}

TEST(MonotonicStackTest, ExtremeFromAnyStartMatchesRescan) {
  std::mt19937 rng(11);
  const std::vector<double> x = TieHeavySeries(rng, 300);
  MonotonicStack<EvictSmaller> highs(x);
  MonotonicStack<EvictGreater> lows(x);
  for (size_t i = 0; i < x.size(); ++i) {
    highs.Push(i);
    lows.Push(i);
    for (size_t start = 0; start <= i; start += 1 + start / 8) {
      ASSERT_EQ(highs.ExtremeFrom(start, x.size()),
                Rescan(x, start, i, [](double c, double p) { return c > p; }))
          << "bar " << i << " start " << start;
      ASSERT_EQ(lows.ExtremeFrom(start, x.size()),
                Rescan(x, start, i, [](double c, double p) { return c < p; }))
          << "bar " << i << " start " << start;
    }
    EXPECT_EQ(highs.ExtremeFrom(i + 1, x.size()), x.size());
  }
}

}  // namespace
