#pragma once

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
  double time = 0;        // milliseconds since 1970-01-01 00:00 UTC
  bool has_time = false;  // false when the row's "t" text was empty or absent
};

// The bar rows of a chart, oldest first, held as one column per field.
// Each field's text is read once, when the row arrives, instead of on every
// run; a price field takes its short key ("c") and falls back to the long
// key ("close") only when the short key's text is empty.
class BarData {
 public:
  using TextRow = std::map<std::string, std::string>;

  BarData() = default;
  explicit BarData(const std::vector<TextRow>& rows);
  explicit BarData(const std::vector<BarRow>& rows);

  static BarRow RowFromText(const TextRow& row);
  // The short key's text, or the long key's when the first is empty or absent.
  static double ReadField(const TextRow& row, const char* short_key, const char* long_key);

  size_t size() const { return m_close.size(); }
  bool empty() const { return m_close.empty(); }

  void Assign(const std::vector<BarRow>& rows);
  void Append(const std::vector<BarRow>& rows);
  void Prepend(const std::vector<BarRow>& rows);
  // Replaces the newest row; appends when there is none.
  void ReplaceLast(const BarRow& row);
  void Clear();

  const std::vector<double>& Close() const { return m_close; }
  const std::vector<double>& Open() const { return m_open; }
  const std::vector<double>& High() const { return m_high; }
  const std::vector<double>& Low() const { return m_low; }
  const std::vector<double>& Volumn() const { return m_vol; }
  const std::vector<double>& Time() const { return m_time; }
  const std::vector<unsigned char>& HasTime() const { return m_has_time; }

  // Change tracking for incremental runs. Every row list has its own id (a
  // copy gets a new one) and counts its changes; FirstChangedSince(v) is the
  // first row that any change after version v touched (SIZE_MAX when none),
  // and 0 when v is too old to tell.
  uint64_t Id() const { return m_log.id; }
  uint64_t Version() const { return m_log.version; }
  size_t FirstChangedSince(uint64_t version) const;

 private:
  void Insert(size_t at, const std::vector<BarRow>& rows);
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
  std::vector<unsigned char> m_has_time;
};
