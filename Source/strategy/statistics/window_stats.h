#pragma once

// Window loops shared by the statistics functions, on the loops of
// strategy/util/window_loop.h. Each keeps the window's mean from a sum
// (running for a constant period, re-summed for a per-bar period) and hands
// the deviation sums, added in index order, to a function-specific `finish`
// that turns them into the output value.

#include <cmath>
#include <cstdint>
#include <vector>

#include "compiler/incremental.h"
#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"
#include "util/cancel.h"

// How a bar without a value (-100000.0) takes part in a window.
enum class Gaps {
  // STD, STDP: an invalid current bar gives an invalid output; the mean sums
  // only the valid values, but the deviations use the stored -100000.0.
  kStored,
  // The other functions: a gap counts as 0.0 everywhere and the bar still
  // gets an output.
  kMasked,
};

// A constant period of -1 or less stands for a window longer than any data:
// every bar of x is invalid. (DEVSQ, AVEDEV, SLOPE and FORCAST would
// otherwise read it as the empty window of period 0, which has values.)
inline bool IsNegativePeriod(const DataExt& period) {
  return period.isSingleNumberType() && period.getSingleNumber() <= -1.0;
}
inline DataExt InvalidLike(const DataExt& x) {
  return DataExt(Broadcast(kInvalidValue, SeriesOf(x).size()));
}

// Exec of DEVSQ, AVEDEV, SLOPE and FORCAST: f(X, N) with X as it came and N a
// count or a per-bar series, except for a constant period of -1 or less.
template <typename F>
DataExt CallWithPeriod(Args view, F f) {
  if (IsNegativePeriod(view.Value(1))) return InvalidLike(view.Value(0));
  return view.Call<Arg::kAny, Arg::kCountOrSeries>(f);
}

// ---- One series: STD, STDP, VAR, VARP, DEVSQ, AVEDEV -----------------------

struct Deviations {
  double sum_sq = 0.0;   // sum of (v - m)^2
  double sum_abs = 0.0;  // sum of |v - m|, only when asked for
};

template <Gaps kGaps, bool kWithAbs>
Deviations DeviationsAbout(const double* x, size_t begin, size_t end, double mean) {
  Deviations s;
  for (size_t k = begin; k < end; ++k) {
    double d = (kGaps == Gaps::kMasked ? ValueOrZero(x[k]) : x[k]) - mean;
    s.sum_sq += d * d;
    if (kWithAbs) s.sum_abs += std::fabs(d);
  }
  return s;
}

// Deviation sums of up to kLanes windows of n bars at once, the window of
// lane l ending at bar ends[l]: each lane adds in index order as
// DeviationsAbout does, so its sums are the same bits, and the lanes'
// independent chains of additions overlap instead of waiting on each other.
inline constexpr size_t kLanes = 8;
template <Gaps kGaps, bool kWithAbs, typename X>
void DeviationLanes(const X& x, uint64_t n, const size_t* ends, const double* means,
                    size_t lanes, Deviations* out) {
  double sq[kLanes] = {};
  double ab[kLanes] = {};
  const double* at[kLanes];
  for (size_t l = 0; l < lanes; ++l) at[l] = &x[ends[l] + 1 - n];
  auto value = [](double v) { return kGaps == Gaps::kMasked ? ValueOrZero(v) : v; };
  if (lanes == kLanes && ends[kLanes - 1] - ends[0] == kLanes - 1) {
    // Consecutive bars: lane l reads base[k + l], loads the compiler can pair.
    const double* base = at[0];
    for (uint64_t k = 0; k < n; ++k) {
      for (size_t l = 0; l < kLanes; ++l) {
        const double d = value(base[k + l]) - means[l];
        sq[l] += d * d;
        if (kWithAbs) ab[l] += std::fabs(d);
      }
    }
  } else {
    for (uint64_t k = 0; k < n; ++k) {
      for (size_t l = 0; l < lanes; ++l) {
        const double d = value(at[l][k]) - means[l];
        sq[l] += d * d;
        if (kWithAbs) ab[l] += std::fabs(d);
      }
    }
  }
  for (size_t l = 0; l < lanes; ++l) out[l] = Deviations{sq[l], ab[l]};
}

// Constant window of n bars over bars [begin, end), from the first valid bar
// f: the mean comes from a running sum carried in carry.acc (the new value
// added, then the value leaving the window subtracted); the deviations are
// summed over the window at every bar, several bars at a time.
// `finish(deviations, count)` gives the output from the deviation sums and
// the window length.
template <Gaps kGaps, bool kWithAbs, typename X, typename Finish, typename Put>
void ConstantSpreadBars(const X& x, size_t f, uint64_t n, size_t begin, size_t end, Carry& carry,
                        Finish finish, Put put) {
  const double count = static_cast<double>(n);
  const uint64_t first_leave = AddCount(f, n);
  const uint64_t first_output = FirstFullWindow(f, n);
  // Adding the masked 0.0 of a gap leaves the sum as skipping it would.
  double sum = carry.acc;  // in a local, written back at the end
  CancelPoll poll;
  size_t ends[kLanes] = {};
  double means[kLanes] = {};
  Deviations sums[kLanes];
  size_t lanes = 0;
  auto flush = [&]() {
    if (n > 0) DeviationLanes<kGaps, kWithAbs>(x, n, ends, means, lanes, sums);
    for (size_t l = 0; l < lanes; ++l) put(ends[l], finish(n > 0 ? sums[l] : Deviations(), count));
    lanes = 0;
  };
  for (size_t i = begin; i < end; ++i) {
    if (i < f) {
      put(i, kInvalidValue);
      continue;
    }
    sum += ValueOrZero(x[i]);
    if (i >= first_leave) sum -= ValueOrZero(x[static_cast<size_t>(i - n)]);
    if (i < first_output || (kGaps == Gaps::kStored && !IsValid(x[i]))) {
      put(i, kInvalidValue);
      continue;
    }
    poll.Step(n);
    ends[lanes] = i;
    means[lanes] = sum / count;
    if (++lanes == kLanes) flush();
  }
  flush();
  carry.acc = sum;
}

// The same over every bar of x, as a new series.
template <Gaps kGaps, bool kWithAbs, typename Finish>
std::vector<double> ConstantSpreadSeries(const std::vector<double>& x, uint64_t n, Finish finish) {
  std::vector<double> out(x.size());
  Carry carry;
  ConstantSpreadBars<kGaps, kWithAbs>(x, FirstValidBar(x), n, 0, x.size(), carry, finish,
                                      [&out](size_t i, double v) { out[i] = v; });
  return out;
}

// The same for the functions that need two bars at least: n <= 1 gives only
// invalid values.
template <Gaps kGaps, typename Finish>
std::vector<double> ConstantSpreadOfTwoOrMore(const std::vector<double>& x, uint64_t n,
                                              Finish finish) {
  if (n <= 1) return std::vector<double>(x.size(), kInvalidValue);
  return ConstantSpreadSeries<kGaps, false>(x, n, finish);
}

// Resume of the functions above: a series X and a constant period N of at
// least `min_n` (a period of -1 or less runs in full).
template <Gaps kGaps, bool kWithAbs, typename Finish>
bool ResumeConstantSpread(const std::vector<const NodeState*>& args, size_t from,
                          NodeState& state, uint64_t min_n, Finish finish) {
  const std::optional<double> period = NumberArg(args, 1);
  if (!period || *period <= -1.0 || ToCount(*period) < min_n) return false;
  const uint64_t n = ToCount(*period);
  return ResumeOverSeries(
      args, from, state, n,
      [&](const auto& x, size_t f, size_t begin, size_t end, Carry& carry, auto put) {
        ConstantSpreadBars<kGaps, kWithAbs>(x, f, n, begin, end, carry, finish, put);
      });
}

// Per-bar period: the window at bar i runs from max(f, trunc32(i - n[i] + 1))
// to i and everything is re-summed over it. `empty_window` is the output
// where the period is below 1.
template <Gaps kGaps, bool kWithAbs, typename Finish>
std::vector<double> PerBarSpreadSeries(const std::vector<double>& x, const std::vector<double>& n,
                                       double empty_window, Finish finish) {
  auto gap = [&x](size_t i) { return kGaps == Gaps::kStored && !IsValid(x[i]); };
  return PerBarWindows(MinLength(x, n), FirstValidBar(x), n, empty_window, gap,
                       [&](size_t i, size_t begin, double count) {
                         double sum = 0.0;
                         for (size_t k = begin; k <= i; ++k) sum += ValueOrZero(x[k]);
                         const double mean = sum / count;
                         return finish(
                             DeviationsAbout<kGaps, kWithAbs>(x.data(), begin, i + 1, mean), count);
                       });
}

// ---- Two series: COVAR, RELATE ---------------------------------------------

struct CoDeviations {
  double sum_ab = 0.0;  // sum of db * da
  double sum_aa = 0.0;  // sum of da^2, only when asked for
  double sum_bb = 0.0;  // sum of db^2, only when asked for
};

template <bool kWithSquares>
CoDeviations CoDeviationsAbout(const double* a, const double* b, size_t begin, size_t end,
                               double mean_a, double mean_b) {
  CoDeviations s;
  for (size_t k = begin; k < end; ++k) {
    double da = ValueOrZero(a[k]) - mean_a;
    double db = ValueOrZero(b[k]) - mean_b;
    s.sum_ab += db * da;
    if (kWithSquares) {
      s.sum_bb += db * db;
      s.sum_aa += da * da;
    }
  }
  return s;
}

// Constant window of n bars over two series (masked values); fewer than 2
// bars give only invalid values. The result is as long as the shorter input.
template <bool kWithSquares, typename Finish>
std::vector<double> ConstantCoSeries(const std::vector<double>& a, const std::vector<double>& b,
                                     uint64_t n, Finish finish) {
  const size_t length = MinLength(a, b);
  if (n < 2) return std::vector<double>(length, kInvalidValue);
  const size_t f = FirstValidBarOfBoth(a, b);
  const double count = static_cast<double>(n);
  double sum_a = 0.0;
  double sum_b = 0.0;
  CancelPoll poll;
  return SlidingWindows(
      length, f, n, FirstFullWindow(f, n),
      [&](size_t i) {
        sum_a += ValueOrZero(a[i]);
        sum_b += ValueOrZero(b[i]);
      },
      [&](size_t j) {
        sum_a -= ValueOrZero(a[j]);
        sum_b -= ValueOrZero(b[j]);
      },
      [&](size_t i) {
        poll.Step(n);
        return finish(CoDeviationsAbout<kWithSquares>(a.data(), b.data(), i + 1 - n, i + 1,
                                                      sum_a / count, sum_b / count),
                      count);
      });
}

// Per-bar period over two series; a period below 1 gives the invalid value.
template <bool kWithSquares, typename Finish>
std::vector<double> PerBarCoSeries(const std::vector<double>& a, const std::vector<double>& b,
                                   const std::vector<double>& n, Finish finish) {
  return PerBarWindows(MinLength(a, b, n), FirstValidBarOfBoth(a, b), n, kInvalidValue, NoSkip,
                       [&](size_t i, size_t begin, double count) {
                         double sum_a = 0.0;
                         double sum_b = 0.0;
                         for (size_t k = begin; k <= i; ++k) {
                           sum_a += ValueOrZero(a[k]);
                           sum_b += ValueOrZero(b[k]);
                         }
                         return finish(
                             CoDeviationsAbout<kWithSquares>(a.data(), b.data(), begin, i + 1,
                                                             sum_a / count, sum_b / count),
                             count);
                       });
}

// ---- Least-squares line: SLOPE, FORCAST -------------------------------------
// y is the masked value, t the bar index as a double.

struct LineSums {
  double sy = 0.0;
  double st = 0.0;
  double stt = 0.0;
  double sty = 0.0;

  void Enter(double t, double v) {
    sy += v;
    st += t;
    stt += t * t;
    sty += v * t;
  }
  void Leave(double t, double v) {
    sy -= v;
    st -= t;
    stt -= t * t;
    sty -= v * t;
  }
};

struct LineFit {
  bool flat;      // the denominator was exactly 0.0 (a window of one bar)
  double slope;   // b
  double mean_t;  // St / n
  double mean_y;  // Sy / n
};

inline LineFit FitLine(const LineSums& s, double count) {
  const double mean_t = s.st / count;
  const double den = s.stt - mean_t * mean_t * count;
  if (den == 0.0) return {true, 0.0, mean_t, 0.0};
  const double slope = (s.sty - (mean_t * count) * (s.sy / count)) / den;
  return {false, slope, mean_t, s.sy / count};
}

// Constant window of n bars with running sums; `finish(fit, t, y)` gives the
// output from the fitted line and the current bar's coordinate and value.
template <typename Finish>
std::vector<double> ConstantLineSeries(const std::vector<double>& y, uint64_t n, Finish finish) {
  const size_t f = FirstValidBar(y);
  const double count = static_cast<double>(n);
  auto t = [](size_t i) { return static_cast<double>(i); };
  LineSums s;
  return SlidingWindows(
      y.size(), f, n, FirstFullWindow(f, n), [&](size_t i) { s.Enter(t(i), ValueOrZero(y[i])); },
      [&](size_t j) { s.Leave(t(j), ValueOrZero(y[j])); },
      [&](size_t i) { return finish(FitLine(s, count), t(i), ValueOrZero(y[i])); });
}

// Per-bar period: the sums are re-taken over the window at every bar; a
// period below 1 gives the invalid value.
template <typename Finish>
std::vector<double> PerBarLineSeries(const std::vector<double>& y, const std::vector<double>& n,
                                     Finish finish) {
  return PerBarWindows(MinLength(y, n), FirstValidBar(y), n, kInvalidValue, NoSkip,
                       [&](size_t i, size_t begin, double count) {
                         LineSums s;
                         for (size_t k = begin; k <= i; ++k) {
                           s.Enter(static_cast<double>(k), ValueOrZero(y[k]));
                         }
                         return finish(FitLine(s, count), static_cast<double>(i),
                                       ValueOrZero(y[i]));
                       });
}
