#include "compiler/incremental.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "strategy/util/strategy_util.h"

namespace {

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

const NodeState* SeriesArg(const std::vector<const NodeState*>& args, size_t i) {
  return i < args.size() && args[i]->IsSeries() ? args[i] : nullptr;
}

std::optional<double> NumberArg(const std::vector<const NodeState*>& args, size_t i) {
  if (i >= args.size() || !args[i]->value.isSingleNumberType()) return std::nullopt;
  return args[i]->value.getSingleNumber();
}

size_t WindowNeed(double n) {
  if (!(n >= 0.0) || n > 1e9) return kAllBars;
  return static_cast<size_t>(std::ceil(n)) + 2;
}

size_t WindowNeedOf(const std::vector<const NodeState*>& args, size_t i) {
  const std::optional<double> n = NumberArg(args, i);
  return n ? WindowNeed(*n) : kAllBars;
}

size_t ResumePoint(NodeState& state, const SeriesView& x, size_t from, size_t first_valid,
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

void NodeState::Trim(std::vector<std::vector<double>>* spare) {
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
  if (spare != nullptr) spare->push_back(std::move(tail));
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
