#pragma once

// Order statistics of a moving window of a series: the k-th smallest value
// of x[start..end] in O(log n), through a Fenwick tree over the ranks of the
// pairs (value, index). The FIND functions use it for long windows, where
// walking a heap over every bar of every window is quadratic.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

class WindowOrder {
 public:
  explicit WindowOrder(const std::vector<double>& x)
      : m_rank(x.size(), kNoRank), m_nan(x.size() + 1, 0), m_minus_zero(x.size() + 1, 0),
        m_plus_zero(x.size() + 1, 0) {
    for (size_t k = 0; k < x.size(); ++k) {
      const bool nan = std::isnan(x[k]);
      m_nan[k + 1] = m_nan[k] + (nan ? 1 : 0);
      m_minus_zero[k + 1] = m_minus_zero[k] + (x[k] == 0.0 && std::signbit(x[k]) ? 1 : 0);
      m_plus_zero[k + 1] = m_plus_zero[k] + (x[k] == 0.0 && !std::signbit(x[k]) ? 1 : 0);
      if (!nan) m_index.push_back(static_cast<uint32_t>(k));
    }
    // Without NaN, (value, index) is a strict order; -0 and +0 are equal.
    std::sort(m_index.begin(), m_index.end(), [&x](uint32_t a, uint32_t b) {
      return x[a] < x[b] || (x[a] == x[b] && a < b);
    });
    const size_t ranked = m_index.size();
    m_first_equal.resize(ranked);
    m_last_equal.resize(ranked);
    for (size_t r = 0; r < ranked; ++r) {
      m_rank[m_index[r]] = static_cast<uint32_t>(r);
      const bool same = r > 0 && x[m_index[r]] == x[m_index[r - 1]];
      m_first_equal[r] = same ? m_first_equal[r - 1] : static_cast<uint32_t>(r);
    }
    for (size_t r = ranked; r-- > 0;) {
      const bool same = r + 1 < ranked && x[m_index[r]] == x[m_index[r + 1]];
      m_last_equal[r] = same ? m_last_equal[r + 1] : static_cast<uint32_t>(r);
    }
    m_tree.assign(ranked + 1, 0);
    m_top_bit = 1;
    while (m_top_bit * 2 <= ranked) m_top_bit *= 2;
  }

  // Whether x[start..end] holds a NaN, or both a +0 and a -0.
  bool HasNaN(size_t start, size_t end) const { return m_nan[end + 1] != m_nan[start]; }
  bool HasBothZeros(size_t start, size_t end) const {
    return m_minus_zero[end + 1] != m_minus_zero[start] &&
           m_plus_zero[end + 1] != m_plus_zero[start];
  }

  // Makes x[start..end] (no NaN inside) the window: each bar entering or
  // leaving costs O(log n), so windows sliding bar by bar cost O(log n) each.
  void MoveTo(size_t start, size_t end) {
    const size_t stop = end + 1;
    if (stop <= m_start || start >= m_stop) {
      while (m_start < m_stop) Update(m_start++, -1);
      m_start = m_stop = start;
    }
    while (m_start > start) Update(--m_start, +1);
    while (m_stop < stop) Update(m_stop++, +1);
    while (m_start < start) Update(m_start++, -1);
    while (m_stop > stop) Update(--m_stop, -1);
  }

  // Index of the k-th smallest (from 0) of the window, ordered by value and
  // then by index.
  size_t KthSmallest(size_t k) const {
    size_t position = 0;
    uint32_t left = static_cast<uint32_t>(k);
    for (size_t step = m_top_bit; step > 0; step /= 2) {
      if (position + step < m_tree.size() && m_tree[position + step] <= left) {
        position += step;
        left -= m_tree[position];
      }
    }
    return m_index[position];
  }

  // How many bars of the window have the value of x[index].
  size_t EqualCount(size_t index) const {
    const uint32_t rank = m_rank[index];
    return Prefix(m_last_equal[rank] + 1) - Prefix(m_first_equal[rank]);
  }

 private:
  static constexpr uint32_t kNoRank = UINT32_MAX;

  void Update(size_t index, int delta) {
    const uint32_t rank = m_rank[index];
    if (rank == kNoRank) return;
    for (size_t p = rank + 1; p < m_tree.size(); p += p & (~p + 1)) {
      m_tree[p] = static_cast<uint32_t>(static_cast<int64_t>(m_tree[p]) + delta);
    }
  }

  // Window bars among the ranks below `rank`.
  size_t Prefix(size_t rank) const {
    size_t sum = 0;
    for (size_t p = rank; p > 0; p -= p & (~p + 1)) sum += m_tree[p];
    return sum;
  }

  std::vector<uint32_t> m_rank;   // bar -> rank (kNoRank for NaN)
  std::vector<uint32_t> m_index;  // rank -> bar
  std::vector<uint32_t> m_first_equal, m_last_equal;  // rank -> ranks of its equal values
  std::vector<uint32_t> m_nan, m_minus_zero, m_plus_zero;  // prefix counts
  std::vector<uint32_t> m_tree;   // Fenwick tree of window bars per rank
  size_t m_top_bit = 1;
  size_t m_start = 0, m_stop = 0;  // the window is [m_start, m_stop)
};
