#include "compiler/incremental.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "compiler/function_registry.h"
#include "strategy/statistics/window_stats.h"
#include "strategy/util/strategy_util.h"
#include "util/cancel.h"

// Each path below repeats the arithmetic of the function's full computation
// operation for operation (the same sums in the same order), so a continued
// output is bit for bit the output of a full run; the differential tests
// compare the two after every change.

namespace {

bool IsNumber(const NodeState* value) { return value->value.isSingleNumberType(); }
bool IsSeries(const NodeState* value) { return value->IsSeries(); }

// Where a resumable loop starts: at its checkpoint when the checkpoint lies
// in the unchanged bars, was taken on the same first valid bar and the
// bars it reads back from there (`back` before it) are still held; else at
// 0 when every bar of x is held. kUnchanged when neither is possible.
size_t ResumeAt(NodeState& state, const SeriesView& x, size_t from, size_t first_valid,
                size_t back) {
  if (from > 0 && state.kept && state.value.isListType() && state.resume_at <= from &&
      state.resume_at <= state.Size() && state.resume_at >= state.base &&
      state.first_valid == first_valid && (first_valid < state.resume_at || state.resume_at == 0) &&
      state.resume_at - (state.resume_at < back ? state.resume_at : back) >= x.base()) {
    return state.resume_at;
  }
  if (x.base() > 0) return kUnchanged;
  state.Restart();
  return 0;
}

// Recursive average over min(len(x), bar_count) bars; `next(e, x_i)` is the
// update of the seeded average.
template <typename Next>
bool ContinueSeeded(const SeriesView& x, size_t bar_count, size_t from, NodeState& state,
                    Next next) {
  const size_t len = x.size() < bar_count ? x.size() : bar_count;
  size_t i = ResumeAt(state, x, from, 0, 0);
  if (i == kUnchanged) return false;
  double e = 0.0;
  bool seeded = false;
  if (i > 0) {
    e = state.acc;
    seeded = state.seeded;
  }
  state.Resize(len);
  for (; i < len; ++i) {
    if (i + 1 == len) {
      state.resume_at = i;
      state.acc = e;
      state.seeded = seeded;
    }
    if (!IsValid(x[i])) {
      state.At(i) = kInvalidValue;
      continue;
    }
    e = seeded ? next(e, x[i]) : x[i];
    seeded = true;
    state.At(i) = e;
  }
  if (len == 0) {
    state.resume_at = 0;
    state.acc = 0.0;
    state.seeded = false;
  }
  state.first_valid = 0;
  return true;
}

// Running window sum of MA and SUM (n >= 1), or the cumulative sum (n = 0).
template <typename Finish>
bool ContinueWindowSum(const SeriesView& x, uint64_t n, size_t from, NodeState& state,
                       Finish finish) {
  const size_t len = x.size();
  const size_t f = x.FirstValid();
  const uint64_t full = AddCount(f, n);
  size_t i = ResumeAt(state, x, from, f, n);
  if (i == kUnchanged) return false;
  double s = i > 0 ? state.acc : 0.0;
  state.Resize(len);
  state.resume_at = 0;
  state.acc = 0.0;
  for (; i < len; ++i) {
    if (i + 1 == len) {
      state.resume_at = i;
      state.acc = s;
    }
    if (i < f) {
      state.At(i) = kInvalidValue;
      continue;
    }
    if (IsValid(x[i])) s = s + x[i];
    if (n == 0) {
      state.At(i) = s;
      continue;
    }
    if (i + 1 < full) {
      state.At(i) = kInvalidValue;
      continue;
    }
    if (i >= full && IsValid(x[i - n])) s = s - x[i - n];
    state.At(i) = finish(s);
  }
  state.first_valid = f;
  return true;
}

// Sample standard deviation over a constant window of n >= 2 bars.
bool ContinueStd(const SeriesView& x, uint64_t n, size_t from, NodeState& state) {
  const size_t len = x.size();
  const size_t f = x.FirstValid();
  const uint64_t first_full = FirstFullWindow(f, n);
  const uint64_t first_drop = AddCount(f, n);
  const double count = static_cast<double>(n);
  size_t i = ResumeAt(state, x, from, f, n);
  if (i == kUnchanged) return false;
  double sum = i > 0 ? state.acc : 0.0;
  state.Resize(len);
  state.resume_at = 0;
  state.acc = 0.0;
  CancelPoll poll;
  for (; i < len; ++i) {
    if (i + 1 == len) {
      state.resume_at = i;
      state.acc = sum;
    }
    poll.Step(n < len ? n : len);
    if (i < f) {
      state.At(i) = kInvalidValue;
      continue;
    }
    sum += ValueOrZero(x[i]);
    if (i >= first_drop) sum -= ValueOrZero(x[i - n]);
    if (i < first_full || !IsValid(x[i])) {
      state.At(i) = kInvalidValue;
      continue;
    }
    // The deviations over the whole window, summed in window order.
    const double mean = sum / count;
    const double* window = x.at(i + 1 - n);
    double sum_sq = 0.0;
    for (uint64_t k = 0; k < n; ++k) {
      const double d = window[k] - mean;
      sum_sq += d * d;
    }
    state.At(i) = count == 1.0 ? kInvalidValue : std::sqrt(sum_sq / (count - 1.0));
  }
  state.first_valid = f;
  return true;
}

// The window extreme of HHV/LLV at bars from..len-1, read back over the
// window (the tail only: a full run goes through the function itself).
// keep_from(i) is the oldest bar of the window at i.
template <bool kHigh, typename KeepFrom>
bool ContinueExtreme(const SeriesView& x, size_t from, NodeState& state, KeepFrom keep_from) {
  const size_t len = x.size();
  if (from == 0 || !state.kept || !state.value.isListType() || from > len ||
      from > state.Size() || from < state.base) {
    return false;
  }
  const size_t f = x.FirstValid();
  if (f >= from) return false;
  size_t reach = keep_from(from);
  if (reach < f) reach = f;
  if (reach < x.base()) return false;
  // The window reads are (len - from) * window long: only worth it for a tail.
  if ((len - from) * (from - reach + 1) > len + 4096) return false;
  for (size_t k = reach; k < len; ++k) {
    if (std::isnan(x[k])) return false;  // NaN neither wins nor loses: the full path decides
  }
  state.Resize(len);
  for (size_t i = from; i < len; ++i) {
    size_t start = keep_from(i);
    if (start < f) start = f;
    double best = x[start];
    for (size_t k = start + 1; k <= i; ++k) {
      if (kHigh ? x[k] > best : x[k] < best) best = x[k];
    }
    state.At(i) = ValueOrZero(best);
  }
  return true;
}

// A window length the tail of a run reads back over, plus the bar before.
size_t WindowNeed(double n) {
  if (!(n >= 0.0) || n > 1e9) return kAllBars;
  return static_cast<size_t>(std::ceil(n)) + 2;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof(double)) == 0; }

size_t FirstSeriesDifference(const double* a, size_t a_size, const double* b, size_t b_size) {
  const size_t common = a_size < b_size ? a_size : b_size;
  constexpr size_t kBlock = 512;
  size_t i = 0;
  while (i < common) {
    size_t end = i + kBlock < common ? i + kBlock : common;
    if (std::memcmp(a + i, b + i, (end - i) * sizeof(double)) != 0) {
      for (; i < end; ++i) {
        if (!SameBits(a[i], b[i])) return i;
      }
    }
    i = end;
  }
  return a_size == b_size ? kUnchanged : common;
}

template <typename Entry, typename Same>
size_t FirstEntryDifference(const std::vector<Entry>& a, const std::vector<Entry>& b, Same same) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < common; ++i) {
    if (!same(a[i], b[i])) return i;
  }
  return a.size() == b.size() ? kUnchanged : common;
}

size_t FirstDrawDifference(const DrawEntry& a, const DrawEntry& b) {
  if (a.draw_name != b.draw_name || a.draw_text != b.draw_text || a.draw_type != b.draw_type) {
    return 0;
  }
  size_t first = kUnchanged;
  auto take = [&first](size_t at) {
    if (at < first) first = at;
  };
  take(FirstEntryDifference(a.draw_positions, b.draw_positions,
                            [](const DrawPositionEntry& x, const DrawPositionEntry& y) {
                              return SameBits(x.price, y.price) && SameBits(x.offset, y.offset);
                            }));
  take(FirstEntryDifference(a.part_lines, b.part_lines,
                            [](const PartLineEntry& x, const PartLineEntry& y) {
                              return SameBits(x.price, y.price) && x.Color() == y.Color();
                            }));
  take(FirstEntryDifference(a.draw_numbers, b.draw_numbers,
                            [](const DrawNumberEntry& x, const DrawNumberEntry& y) {
                              return SameBits(x.price, y.price) && x.value == y.value;
                            }));
  take(FirstEntryDifference(a.draw_sls, b.draw_sls, [](const DrawSLEntry& x, const DrawSLEntry& y) {
    return SameBits(x.price, y.price) && SameBits(x.slop, y.slop) && x.len == y.len &&
           x.dir == y.dir;
  }));
  take(FirstEntryDifference(a.stick_lines, b.stick_lines,
                            [](const StickLineEntry& x, const StickLineEntry& y) {
                              return SameBits(x.price1_, y.price1_) &&
                                     SameBits(x.price2_, y.price2_) &&
                                     SameBits(x.width_, y.width_) && SameBits(x.attr_, y.attr_);
                            }));
  take(FirstEntryDifference(
      a.draw_kline_datas, b.draw_kline_datas,
      [](const std::map<std::string, double>& x, const std::map<std::string, double>& y) {
        if (x.size() != y.size()) return false;
        for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
          if (i->first != j->first || !SameBits(i->second, j->second)) return false;
        }
        return true;
      }));
  return first;
}

}  // namespace

Spread SpreadOf(const std::string& name) {
  static const std::unordered_map<std::string, Spread> kRules = {
      {"C", Spread::kMarket},         {"CLOSE", Spread::kMarket},     {"O", Spread::kMarket},
      {"OPEN", Spread::kMarket},      {"H", Spread::kMarket},         {"HIGH", Spread::kMarket},
      {"L", Spread::kMarket},         {"LOW", Spread::kMarket},       {"V", Spread::kMarket},
      {"VOL", Spread::kMarket},       {"ABS", Spread::kElementwise},  {"ACOS", Spread::kElementwise},
      {"ASIN", Spread::kElementwise}, {"ATAN", Spread::kElementwise}, {"CEILING", Spread::kElementwise},
      {"COS", Spread::kElementwise},  {"EXP", Spread::kElementwise},  {"FLOOR", Spread::kElementwise},
      {"FRACPART", Spread::kElementwise}, {"INTPART", Spread::kElementwise},
      {"LN", Spread::kElementwise},   {"LOG", Spread::kElementwise},  {"MAX", Spread::kElementwise},
      {"MIN", Spread::kElementwise},  {"MOD", Spread::kElementwise},  {"POW", Spread::kElementwise},
      {"REVERSE", Spread::kElementwise}, {"ROUND", Spread::kElementwise},
      {"ROUND2", Spread::kElementwise}, {"SIGN", Spread::kElementwise},
      {"SGN", Spread::kElementwise},  {"SIN", Spread::kElementwise},  {"SQRT", Spread::kElementwise},
      {"TAN", Spread::kElementwise},  {"EMA", Spread::kEma},          {"SMA", Spread::kSma},
      {"MA", Spread::kMa},            {"SUM", Spread::kSum},          {"STD", Spread::kStd},
      {"REF", Spread::kRef},          {"HHV", Spread::kHhv},          {"LLV", Spread::kLlv},
  };
  auto it = kRules.find(name);
  return it == kRules.end() ? Spread::kFull : it->second;
}

bool ContinueCall(Spread spread, const std::vector<const NodeState*>& args, size_t bar_count,
                  size_t from, NodeState& state) {
  switch (spread) {
    case Spread::kEma: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      const double n = args[1]->value.getSingleNumber();
      return ContinueSeeded(args[0]->Series(), bar_count, from, state, [n](double e, double x) {
        const double t = (x + x) / (n + 1.0);
        return e * (n + -1.0) / (n + 1.0) + t;
      });
    }
    case Spread::kSma: {
      if (args.size() < 3 || !IsSeries(args[0]) || !IsNumber(args[1]) || !IsNumber(args[2])) {
        return false;
      }
      const double n = args[1]->value.getSingleNumber();
      const double m = args[2]->value.getSingleNumber();
      return ContinueSeeded(args[0]->Series(), bar_count, from, state, [n, m](double e, double x) {
        const double t = x * m / n;
        return e * (n - m) / n + t;
      });
    }
    case Spread::kMa: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      const uint64_t n = ToCount(args[1]->value.getSingleNumber());
      if (n == 0) return false;
      const double divisor = static_cast<double>(n);
      return ContinueWindowSum(args[0]->Series(), n, from, state,
                               [divisor](double s) { return s / divisor; });
    }
    case Spread::kSum: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      return ContinueWindowSum(args[0]->Series(), ToCount(args[1]->value.getSingleNumber()), from,
                               state, [](double s) { return s; });
    }
    case Spread::kStd: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      const uint64_t n = ToCount(args[1]->value.getSingleNumber());
      if (n <= 1) return false;
      return ContinueStd(args[0]->Series(), n, from, state);
    }
    case Spread::kRef: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      const uint64_t n = ToCount(args[1]->value.getSingleNumber());
      const SeriesView x = args[0]->Series();
      size_t i = from > 0 && state.kept && state.value.isListType() ? from : 0;
      if (i > state.Size()) i = state.Size();
      if (i < state.base || (i >= n && i - n < x.base())) {
        if (x.base() > 0) return false;
        i = 0;
        state.Restart();
      }
      state.Resize(x.size());
      for (; i < x.size(); ++i) state.At(i) = i < n ? kInvalidValue : x[i - n];
      return true;
    }
    case Spread::kHhv: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      const double n = args[1]->value.getSingleNumber();
      if (!(n > 0.0)) return false;
      return ContinueExtreme<true>(args[0]->Series(), from, state, [n](size_t i) -> size_t {
        const double back = static_cast<double>(i) - n;
        return back >= 0.0 ? static_cast<size_t>(back) + 1 : 0;
      });
    }
    case Spread::kLlv: {
      if (args.size() < 2 || !IsSeries(args[0]) || !IsNumber(args[1])) return false;
      const uint64_t n = ToCount(args[1]->value.getSingleNumber());
      if (n == 0) return false;
      return ContinueExtreme<false>(args[0]->Series(), from, state, [n](size_t i) -> size_t {
        return i >= n ? static_cast<size_t>(i - n + 1) : 0;
      });
    }
    default:
      return false;
  }
}

size_t Lookback(Spread spread, const std::vector<const NodeState*>& args) {
  switch (spread) {
    case Spread::kElementwise:
      return 2;
    case Spread::kEma:
    case Spread::kSma:
      return 2;
    case Spread::kMa:
    case Spread::kSum:
    case Spread::kStd:
    case Spread::kRef:
    case Spread::kHhv:
    case Spread::kLlv:
      if (args.size() < 2 || !IsNumber(args[1])) return kAllBars;
      return WindowNeed(args[1]->value.getSingleNumber());
    default:
      return kAllBars;
  }
}

size_t SeriesView::FirstValid() const {
  if (m_valid_dropped < m_base) return m_valid_dropped;
  for (size_t i = m_base; i < m_size; ++i) {
    if (IsValid((*this)[i])) return i;
  }
  return m_size;
}

SeriesView NodeState::Series() const {
  if (column != nullptr) return SeriesView(column->data(), 0, column->size(), kUnchanged);
  return SeriesView(value.m_raw_data.data(), base, Size(), valid_dropped);
}

DataExt NodeState::Whole() const {
  if (column != nullptr) return DataExt(*column);
  return value;
}

void NodeState::Trim() {
  if (whole || need == kAllBars || column != nullptr || !value.isListType()) return;
  const size_t keep = need < 2 ? 2 : need;
  std::vector<double>& held = value.m_raw_data;
  if (held.size() <= 2 * keep) return;  // cut again only once it has doubled
  const size_t new_base = Size() - keep;
  if (valid_dropped == kUnchanged) {
    for (size_t i = base; i < new_base; ++i) {
      if (IsValid(held[i - base])) {
        valid_dropped = i;
        break;
      }
    }
  }
  std::vector<double> tail(held.end() - static_cast<std::ptrdiff_t>(keep), held.end());
  held.swap(tail);
  base = new_base;
}

bool Causal(const std::string& name) {
  static const std::unordered_map<std::string, bool> kCausal = [] {
    std::unordered_map<std::string, bool> table;
    for (const FunctionInfo& function : FunctionRegistry()) {
      for (const std::string& alias : function.names) {
        table[alias] = function.spread == FunctionSpread::kFromBar;
      }
    }
    return table;
  }();
  auto it = kCausal.find(name);
  return it != kCausal.end() && it->second;
}

size_t FirstHeldDifference(const NodeState& before, const std::vector<double>& after) {
  const std::vector<double>& held = before.value.m_raw_data;
  const size_t at = FirstSeriesDifference(held.data(), held.size(), after.data() + before.base,
                                          after.size() - before.base);
  return at == kUnchanged ? kUnchanged : before.base + at;
}

size_t FirstDifference(const DataExt& before, const DataExt& after) {
  if (before.m_type != after.m_type) return 0;
  switch (after.m_type) {
    case LIST_TYPE:
      return FirstSeriesDifference(before.m_raw_data.data(), before.m_raw_data.size(),
                                   after.m_raw_data.data(), after.m_raw_data.size());
    case SINGLE_NUMBER_TYPE:
      return SameBits(before.m_single_number, after.m_single_number) ? kUnchanged : 0;
    case STRING_TYPE:
      return before.m_string == after.m_string ? kUnchanged : 0;
    case DRAW_TYPE:
      return FirstDrawDifference(before.m_draw_entry, after.m_draw_entry);
  }
  return 0;
}
