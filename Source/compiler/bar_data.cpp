#include "compiler/bar_data.h"

#include <algorithm>
#include <atomic>

#include "util/util.h"

namespace {

const std::string& TextOf(const BarData::TextRow& row, const char* key) {
  static const std::string kEmpty;
  auto it = row.find(key);
  return it == row.end() ? kEmpty : it->second;
}

// Rows as columns, for the row mutators.
struct RowColumns {
  explicit RowColumns(const std::vector<BarRow>& rows) {
    for (std::vector<double>* column : {&close, &open, &high, &low, &vol, &time}) {
      column->reserve(rows.size());
    }
    for (const BarRow& row : rows) {
      close.push_back(row.close);
      open.push_back(row.open);
      high.push_back(row.high);
      low.push_back(row.low);
      vol.push_back(row.vol);
      time.push_back(row.time);
    }
  }
  BarColumns View() const {
    return {close.size(), close.data(), open.data(), high.data(), low.data(), vol.data(), time.data()};
  }
  std::vector<double> close, open, high, low, vol, time;
};

// A value as it is loaded: with kPositiveNaN every NaN as the positive NaN.
template <bool kPositiveNaN>
double Loaded(double x) {
  return !kPositiveNaN || x == x ? x : NAN;
}

void CopyColumn(std::vector<double>& column, size_t at, const double* from, size_t size, size_t stride,
                bool positive_nan, double fill) {
  if (size == 0) return;
  double* to = column.data() + at;
  if (from == nullptr) {
    std::fill_n(to, size, fill);
  } else if (stride == 1 && !positive_nan) {
    std::copy_n(from, size, to);
  } else if (positive_nan) {
    for (size_t i = 0; i < size; ++i) to[i] = Loaded<true>(from[i * stride]);
  } else {
    for (size_t i = 0; i < size; ++i) to[i] = from[i * stride];
  }
}
}  // namespace

double BarData::ReadField(const TextRow& row, const char* short_key, const char* long_key) {
  const std::string& text = TextOf(row, short_key);
  return Util::StringToDouble(text.empty() ? TextOf(row, long_key) : text);
}

BarRow BarData::RowFromText(const TextRow& row) {
  BarRow bar;
  bar.close = ReadField(row, "c", "close");
  bar.open = ReadField(row, "o", "open");
  bar.high = ReadField(row, "h", "high");
  bar.low = ReadField(row, "l", "low");
  bar.vol = ReadField(row, "v", "vol");
  const std::string& time = TextOf(row, "t");
  bar.time = time.empty() ? NAN : Util::StringToDouble(time);
  return bar;
}

void BarData::Assign(const BarColumns& bars) {
  Changed(0);
  const size_t size = bars.size;
  if (bars.stride != 1 || bars.positive_nan) {
    // Storage too small is let go first, so that growing it does not move
    // the old bars over.
    for (std::vector<double>* column : {&m_close, &m_open, &m_high, &m_low, &m_vol, &m_time}) {
      if (column->capacity() < size) std::vector<double>().swap(*column);
    }
    Resize(size);
    CopyAt(0, bars);
    return;
  }
  // Storage that is large enough is written over; else new storage is
  // filled straight from the bars, without zeroing it or moving the old
  // bars over first.
  const auto assign = [size](std::vector<double>& column, const double* from, double fill) {
    if (from == nullptr) {
      column.assign(size, fill);
    } else {
      column.assign(from, from + size);
    }
  };
  assign(m_close, bars.close, 0.0);
  assign(m_open, bars.open, 0.0);
  assign(m_high, bars.high, 0.0);
  assign(m_low, bars.low, 0.0);
  assign(m_vol, bars.vol, 0.0);
  assign(m_time, bars.time, NAN);
}

void BarData::Append(const BarColumns& bars) {
  const size_t at = size();
  Changed(at);
  Resize(at + bars.size);
  CopyAt(at, bars);
}

void BarData::Prepend(const BarColumns& bars) {
  Changed(0);
  const size_t held = size();
  Resize(held + bars.size);
  for (std::vector<double>* column : {&m_close, &m_open, &m_high, &m_low, &m_vol, &m_time}) {
    std::copy_backward(column->begin(), column->begin() + static_cast<std::ptrdiff_t>(held), column->end());
  }
  CopyAt(0, bars);
}

void BarData::ReplaceLast(const BarColumns& bar) {
  if (empty()) {
    Append(bar);
    return;
  }
  const size_t last = size() - 1;
  Changed(last);
  CopyAt(last, bar);
}

void BarData::Clear() {
  Changed(0);
  Resize(0);
}

void BarData::Assign(const std::vector<BarRow>& rows) { Assign(RowColumns(rows).View()); }
void BarData::Append(const std::vector<BarRow>& rows) { Append(RowColumns(rows).View()); }
void BarData::Prepend(const std::vector<BarRow>& rows) { Prepend(RowColumns(rows).View()); }
void BarData::ReplaceLast(const BarRow& row) { ReplaceLast(RowColumns({row}).View()); }

void BarData::Resize(size_t size) {
  for (std::vector<double>* column : {&m_close, &m_open, &m_high, &m_low, &m_vol, &m_time}) {
    column->resize(size);
  }
}

void BarData::CopyAt(size_t at, const BarColumns& bars) {
  const bool all = bars.close && bars.open && bars.high && bars.low && bars.vol && bars.time;
  if (all && bars.positive_nan) {
    CopyRows<true>(at, bars);
  } else if (all && bars.stride != 1) {
    CopyRows<false>(at, bars);
  } else {
    const size_t size = bars.size, stride = bars.stride;
    const bool nan = bars.positive_nan;
    CopyColumn(m_close, at, bars.close, size, stride, nan, 0.0);
    CopyColumn(m_open, at, bars.open, size, stride, nan, 0.0);
    CopyColumn(m_high, at, bars.high, size, stride, nan, 0.0);
    CopyColumn(m_low, at, bars.low, size, stride, nan, 0.0);
    CopyColumn(m_vol, at, bars.vol, size, stride, nan, 0.0);
    CopyColumn(m_time, at, bars.time, size, stride, nan, NAN);
  }
}

// Each bar is read once, its fields going to their columns. The newest bar
// comes first: bars just written by a loader are then still in the cache
// when their copy starts.
template <bool kPositiveNaN>
void BarData::CopyRows(size_t at, const BarColumns& bars) {
  double* __restrict close = m_close.data() + at;
  double* __restrict open = m_open.data() + at;
  double* __restrict high = m_high.data() + at;
  double* __restrict low = m_low.data() + at;
  double* __restrict vol = m_vol.data() + at;
  double* __restrict time = m_time.data() + at;
  const double* c = bars.close;
  const double* o = bars.open;
  const double* h = bars.high;
  const double* l = bars.low;
  const double* v = bars.vol;
  const double* t = bars.time;
  const size_t stride = bars.stride;
  for (size_t i = bars.size; i-- > 0;) {
    const size_t from = i * stride;
    const double ci = c[from], oi = o[from], hi = h[from], li = l[from], vi = v[from], ti = t[from];
    close[i] = Loaded<kPositiveNaN>(ci);
    open[i] = Loaded<kPositiveNaN>(oi);
    high[i] = Loaded<kPositiveNaN>(hi);
    low[i] = Loaded<kPositiveNaN>(li);
    vol[i] = Loaded<kPositiveNaN>(vi);
    time[i] = Loaded<kPositiveNaN>(ti);
  }
}

uint64_t BarData::ChangeLog::NextId() {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

void BarData::Changed(size_t first_row) {
  m_log.version++;
  m_log.changes.push_back(first_row);
  if (m_log.changes.size() > kChangesKept) m_log.changes.pop_front();
}

size_t BarData::FirstChangedSince(uint64_t version) const {
  if (version > m_log.version) return 0;
  uint64_t missed = m_log.version - version;
  if (missed > m_log.changes.size()) return 0;
  size_t first = static_cast<size_t>(-1);
  for (size_t k = m_log.changes.size() - static_cast<size_t>(missed); k < m_log.changes.size(); ++k) {
    if (m_log.changes[k] < first) first = m_log.changes[k];
  }
  return first;
}
