#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "compiler/bar_data.h"
#include "strategy/util/strategy_util.h"

// The parabolic stop-and-reverse computation shared by SAR and SARTURN.
// n warm-up bars; step s and limit m in hundredths. For every bar in order it
// calls emit(stop, turn): the stop value and 1 (turned long), -1 (turned
// short) or 0. Nothing is emitted when there are no more bars than n.
template <typename Emit>
void ParabolicSar(const BarData& bars, unsigned long n, unsigned long s, unsigned long m,
                  Emit emit) {
  const size_t rows = bars.size();
  if (rows == 0 || rows <= n) return;
  const double step = s / 100.0;
  const double limit = m / 100.0;
  if (n == 0 || step > limit) {
    for (size_t i = 0; i < rows; ++i) {
      emit(i < n ? kInvalidValue : 0.0, i < n ? kInvalidValue : 0.0);
    }
    return;
  }
  // Every index below lies in 0 .. rows - 1, so the columns are read directly.
  const std::vector<double>& high = bars.High();
  const std::vector<double>& low = bars.Low();

  double min_low = low[0];
  double max_high = high[0];
  for (size_t i = 0; i < n; ++i) {
    min_low = std::min(min_low, low[i]);
    max_high = std::max(max_high, high[i]);
    emit(kInvalidValue, kInvalidValue);
  }

  // The last warm-up close against the first open decides the first side;
  // a difference of exactly 0 starts short.
  bool is_long = bars.Close()[n - 1] - bars.Open()[0] > 0;
  double sar = is_long ? min_low : max_high;
  double ep = is_long ? std::max(max_high, high[n]) : std::min(min_low, low[n]);
  double af = step;
  emit(sar, 0.0);

  for (size_t i = n + 1; i < rows; ++i) {
    double turn = 0.0;
    // The stop moves toward the previous bar's extreme, not toward ep.
    if (is_long) {
      const double candidate = sar + af * (high[i - 1] - sar);
      const double new_ep = std::max(ep, high[i]);
      if (candidate > low[i]) {
        is_long = false;
        sar = new_ep;
        ep = low[i];
        af = step;
        turn = -1.0;
      } else {
        sar = candidate;
        ep = new_ep;
        af = std::min(limit, af + step);
      }
    } else {
      const double candidate = sar + af * (low[i - 1] - sar);
      const double new_ep = std::min(ep, low[i]);
      if (high[i] > candidate) {
        is_long = true;
        sar = new_ep;
        ep = high[i];
        af = step;
        turn = 1.0;
      } else {
        sar = candidate;
        ep = new_ep;
        af = std::min(limit, af + step);
      }
    }
    emit(sar, turn);
  }
}
