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

void CopyColumn(std::vector<double>& column, size_t at, const double* from, size_t size, double fill) {
  if (size == 0) return;
  if (from == nullptr) {
    std::fill_n(column.begin() + static_cast<std::ptrdiff_t>(at), size, fill);
  } else {
    std::copy_n(from, size, column.begin() + static_cast<std::ptrdiff_t>(at));
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
  Resize(bars.size);
  CopyAt(0, bars);
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
  CopyColumn(m_close, at, bars.close, bars.size, 0.0);
  CopyColumn(m_open, at, bars.open, bars.size, 0.0);
  CopyColumn(m_high, at, bars.high, bars.size, 0.0);
  CopyColumn(m_low, at, bars.low, bars.size, 0.0);
  CopyColumn(m_vol, at, bars.vol, bars.size, 0.0);
  CopyColumn(m_time, at, bars.time, bars.size, NAN);
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
