#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// One bar with every field already read as a number.
struct BarRow {
  double close = 0;
  double open = 0;
  double high = 0;
  double low = 0;
  double vol = 0;
  double time = NAN;  // milliseconds since 1970-01-01 00:00 UTC; NaN: no time
};

// Read-only columns of `size` bars handed in for loading, oldest first. A
// null `vol` means volume 0 and a null `time` bars without time. The values
// of one column lie `stride` doubles apart: 1 for plain columns, the number
// of fields for bars stored one after another. With `positive_nan` every NaN
// is loaded as the positive NaN.
struct BarColumns {
  size_t size = 0;
  const double* close = nullptr;
  const double* open = nullptr;
  const double* high = nullptr;
  const double* low = nullptr;
  const double* vol = nullptr;
  const double* time = nullptr;
  size_t stride = 1;
  bool positive_nan = false;
};

// The bars of a chart, oldest first, held as one column per field: the one
// owner of the bar columns. They change only through the named mutators
// below, each of which records the first row it touched; a run reads them
// through the const views. A time that is NaN marks a bar without time
// (the time functions skip it).
class BarData {
 public:
  using TextRow = std::map<std::string, std::string>;

  BarData() = default;
  explicit BarData(const std::vector<BarRow>& rows) { Assign(rows); }

  // A text row as numbers: each field's text is read once, when the row
  // arrives, instead of on every run. An empty or absent "t" is no time.
  static BarRow RowFromText(const TextRow& row);
  // The short key's text, or the long key's when the first is empty or absent;
  // a price field ("c") falls back to its long key ("close").
  static double ReadField(const TextRow& row, const char* short_key, const char* long_key);

  size_t size() const { return m_close.size(); }
  bool empty() const { return m_close.empty(); }

  // ---- Mutators --------------------------------------------------------------
  void Assign(const BarColumns& bars);
  void Append(const BarColumns& bars);
  void Prepend(const BarColumns& bars);
  // Replaces the newest bar by the one bar of `bar`; appends when none is held.
  void ReplaceLast(const BarColumns& bar);
  void Clear();
  // The same for rows (tests, text rows).
  void Assign(const std::vector<BarRow>& rows);
  void Append(const std::vector<BarRow>& rows);
  void Prepend(const std::vector<BarRow>& rows);
  void ReplaceLast(const BarRow& row);

  // ---- Views for a run -------------------------------------------------------
  const std::vector<double>& Close() const { return m_close; }
  const std::vector<double>& Open() const { return m_open; }
  const std::vector<double>& High() const { return m_high; }
  const std::vector<double>& Low() const { return m_low; }
  const std::vector<double>& Volume() const { return m_vol; }
  const std::vector<double>& Time() const { return m_time; }
  bool HasTime(size_t i) const { return !std::isnan(m_time[i]); }
  BarRow Row(size_t i) const { return {m_close[i], m_open[i], m_high[i], m_low[i], m_vol[i], m_time[i]}; }

  // Change tracking for incremental runs. Every bar list has its own id (a
  // copy gets a new one) and counts its changes; FirstChangedSince(v) is the
  // first row that any change after version v touched (SIZE_MAX when none),
  // and 0 when v is too old to tell.
  uint64_t Id() const { return m_log.id; }
  uint64_t Version() const { return m_log.version; }
  size_t FirstChangedSince(uint64_t version) const;

 private:
  // Copies `bars` into rows at..at+size-1 of every column, which exist.
  void CopyAt(size_t at, const BarColumns& bars);
  template <bool kPositiveNaN>
  void CopyRows(size_t at, const BarColumns& bars);
  void Resize(size_t size);
  void Changed(size_t first_row);

  struct ChangeLog {
    static uint64_t NextId();
    ChangeLog() : id(NextId()) {}
    ChangeLog(const ChangeLog&) : id(NextId()) {}
    ChangeLog& operator=(const ChangeLog&) {
      id = NextId();
      version = 0;
      changes.clear();
      return *this;
    }
    uint64_t id;
    uint64_t version = 0;
    std::deque<size_t> changes;  // first row of each of the latest changes, oldest first
  };
  static constexpr size_t kChangesKept = 64;
  ChangeLog m_log;

  std::vector<double> m_close;
  std::vector<double> m_open;
  std::vector<double> m_high;
  std::vector<double> m_low;
  std::vector<double> m_vol;
  std::vector<double> m_time;
};
