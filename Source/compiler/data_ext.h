#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// Marks a bar without a value in every series; tested by exact equality
// (a NaN is a value, not a gap).
inline constexpr double kInvalidValue = -100000.0;

// ---- Drawing records -------------------------------------------------------
// A drawing function describes what the chart paints, bar by bar; element i
// of the list it fills belongs to bar i.

struct DrawPositionEntry {
  DrawPositionEntry(double price, double offset) : price(price), offset(offset) {}
  void AppendJson(std::string& out) const;
  std::string JsonString() const;
  double price;
  double offset;
};

// The colour text is shared: PARTLINE2 repeats one of a few texts on every
// bar, and a long text must not be copied once per bar.
struct PartLineEntry {
  PartLineEntry(double price, std::string color)
      : price(price), color(std::make_shared<const std::string>(std::move(color))) {}
  PartLineEntry(double price, std::shared_ptr<const std::string> color)
      : price(price), color(std::move(color)) {}
  const std::string& Color() const { return *color; }
  void AppendJson(std::string& out) const;
  std::string JsonString() const;
  double price;
  std::shared_ptr<const std::string> color;  // never null
};

struct DrawNumberEntry {
  DrawNumberEntry(double price, std::string value) : price(price), value(std::move(value)) {}
  void AppendJson(std::string& out) const;
  std::string JsonString() const;
  double price;
  std::string value;
};

struct DrawSLEntry {
  DrawSLEntry(double price, double slop, int len, int dir)
      : price(price), slop(slop), len(len), dir(dir) {}
  void AppendJson(std::string& out) const;
  std::string JsonString() const;
  double price;
  double slop;
  int len;
  int dir;
};

struct StickLineEntry {
  StickLineEntry(double price1, double price2, double width, double attr)
      : price1_(price1), price2_(price2), width_(width), attr_(attr) {}
  void AppendJson(std::string& out) const;
  std::string JsonString() const;
  double price1_;
  double price2_;
  double width_;
  double attr_;
};

class DrawEntry {
 public:
  DrawEntry() = default;
  DrawEntry(std::string name, std::vector<DrawPositionEntry> positions);
  DrawEntry(std::string name, std::vector<DrawPositionEntry> positions, int type);
  DrawEntry(std::string name, std::vector<DrawPositionEntry> positions, std::string text);
  DrawEntry(std::string name, std::vector<std::map<std::string, double>> klines);
  DrawEntry(std::string name, std::vector<PartLineEntry> lines);
  DrawEntry(std::string name, std::vector<DrawNumberEntry> numbers);
  DrawEntry(std::string name, std::vector<DrawSLEntry> sls);
  DrawEntry(std::string name, std::vector<StickLineEntry> sticks);

  void AppendJson(std::string& out) const;
  std::string JsonString() const;
  void Dump() const;

  std::string draw_name;
  std::string draw_text;
  int draw_type = 0;
  std::vector<std::map<std::string, double>> draw_kline_datas;
  std::vector<DrawPositionEntry> draw_positions;
  std::vector<PartLineEntry> part_lines;
  std::vector<DrawNumberEntry> draw_numbers;
  std::vector<DrawSLEntry> draw_sls;
  std::vector<StickLineEntry> stick_lines;
};

// ---- Values ----------------------------------------------------------------

enum DataType : int {
  LIST_TYPE = 0,
  SINGLE_NUMBER_TYPE = 1,
  STRING_TYPE = 2,
  DRAW_TYPE = 3,
};

// The one runtime value: a series (one number per bar), a single number, a
// string or a drawing record. Only the field of the value's kind is
// meaningful; the default value is the empty series.
class DataExt {
 public:
  DataExt() = default;
  explicit DataExt(std::vector<double> series) : m_raw_data(std::move(series)) {}
  explicit DataExt(double number) : m_single_number(number), m_type(SINGLE_NUMBER_TYPE) {}
  explicit DataExt(std::string text) : m_type(STRING_TYPE), m_string(std::move(text)) {}
  explicit DataExt(const char* text) : DataExt(std::string(text)) {}
  explicit DataExt(DrawEntry& draw) : m_type(DRAW_TYPE), m_draw_entry(draw) {}
  explicit DataExt(DrawEntry&& draw) : m_type(DRAW_TYPE), m_draw_entry(std::move(draw)) {}

  std::vector<double>& getRawData() { return m_raw_data; }
  const std::vector<double>& getRawData() const { return m_raw_data; }
  void setRawData(const std::vector<double>& series) {
    if (&series != &m_raw_data) m_raw_data = series;
    m_type = LIST_TYPE;
  }
  void setRawData(std::vector<double>&& series) {
    m_raw_data = std::move(series);
    m_type = LIST_TYPE;
  }
  double getSingleNumber() const { return m_single_number; }
  void setSingleNumber(double number) {
    m_single_number = number;
    m_type = SINGLE_NUMBER_TYPE;
  }
  DataType getType() const { return m_type; }
  bool isListType() const { return m_type == LIST_TYPE; }
  bool isSingleNumberType() const { return m_type == SINGLE_NUMBER_TYPE; }
  bool isStringType() const { return m_type == STRING_TYPE; }

  void toString() const;  // debug print to standard output

  std::vector<double> m_raw_data;
  double m_single_number = 0;
  DataType m_type = LIST_TYPE;
  std::string m_string;
  DrawEntry m_draw_entry;
};
