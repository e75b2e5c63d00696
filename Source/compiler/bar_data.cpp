#include "compiler/bar_data.h"

#include <atomic>

#include "util/util.h"

namespace {

const std::string& TextOf(const BarData::TextRow& row, const char* key) {
  static const std::string kEmpty;
  auto it = row.find(key);
  return it == row.end() ? kEmpty : it->second;
}

}  // namespace

BarData::BarData(const std::vector<TextRow>& rows) {
  std::vector<BarRow> converted;
  converted.reserve(rows.size());
  for (const auto& row : rows) converted.push_back(RowFromText(row));
  Assign(converted);
}

BarData::BarData(const std::vector<BarRow>& rows) { Assign(rows); }

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
  bar.has_time = !time.empty();
  bar.time = bar.has_time ? Util::StringToDouble(time) : 0.0;
  return bar;
}

void BarData::Assign(const std::vector<BarRow>& rows) {
  Clear();
  Insert(0, rows);
}

void BarData::Append(const std::vector<BarRow>& rows) {
  Changed(size());
  Insert(size(), rows);
}

void BarData::Prepend(const std::vector<BarRow>& rows) {
  Changed(0);
  Insert(0, rows);
}

void BarData::ReplaceLast(const BarRow& row) {
  if (empty()) {
    Changed(0);
    Insert(0, {row});
    return;
  }
  size_t last = size() - 1;
  Changed(last);
  m_close[last] = row.close;
  m_open[last] = row.open;
  m_high[last] = row.high;
  m_low[last] = row.low;
  m_vol[last] = row.vol;
  m_time[last] = row.time;
  m_has_time[last] = row.has_time;
}

void BarData::Clear() {
  Changed(0);
  m_close.clear();
  m_open.clear();
  m_high.clear();
  m_low.clear();
  m_vol.clear();
  m_time.clear();
  m_has_time.clear();
}

void BarData::Insert(size_t at, const std::vector<BarRow>& rows) {
  auto insert_column = [&](auto& column, auto field) {
    column.insert(column.begin() + static_cast<std::ptrdiff_t>(at), rows.size(), {});
    for (size_t k = 0; k < rows.size(); ++k) column[at + k] = field(rows[k]);
  };
  insert_column(m_close, [](const BarRow& r) { return r.close; });
  insert_column(m_open, [](const BarRow& r) { return r.open; });
  insert_column(m_high, [](const BarRow& r) { return r.high; });
  insert_column(m_low, [](const BarRow& r) { return r.low; });
  insert_column(m_vol, [](const BarRow& r) { return r.vol; });
  insert_column(m_time, [](const BarRow& r) { return r.time; });
  insert_column(m_has_time, [](const BarRow& r) -> unsigned char { return r.has_time; });
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
