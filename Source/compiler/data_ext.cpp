#include "compiler/data_ext.h"

#include <iostream>

#include "util/util.h"

namespace {

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  out += text;  // no escaping: texts pass through as they are
  out += '"';
}

template <typename Entry>
void AppendList(std::string& out, const char* key, const std::vector<Entry>& entries) {
  out += '"';
  out += key;
  out += "\":[";
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i) out += ',';
    entries[i].AppendJson(out);
  }
  out += ']';
}

void AppendKline(std::string& out, const std::map<std::string, double>& kline) {
  out += '{';
  bool first = true;
  for (const auto& [key, value] : kline) {
    if (!first) out += ',';
    first = false;
    AppendQuoted(out, key);
    out += ':';
    Util::AppendFixed6(out, value);
  }
  out += '}';
}

template <typename Entry>
std::string ToJson(const Entry& entry) {
  std::string out;
  entry.AppendJson(out);
  return out;
}

void PrintLine(const std::string& line) { std::cout << line << std::endl; }

}  // namespace

void DrawPositionEntry::AppendJson(std::string& out) const {
  out += "{\"price\":";
  Util::AppendFixed6(out, price);
  out += ",\"offset\":";
  Util::AppendFixed6(out, offset);
  out += '}';
}
std::string DrawPositionEntry::JsonString() const { return ToJson(*this); }

void PartLineEntry::AppendJson(std::string& out) const {
  out += "{\"price\":";
  Util::AppendFixed6(out, price);
  out += ",\"color\":";
  AppendQuoted(out, *color);
  out += '}';
}
std::string PartLineEntry::JsonString() const { return ToJson(*this); }

void DrawNumberEntry::AppendJson(std::string& out) const {
  out += "{\"price\":";
  Util::AppendFixed6(out, price);
  out += ",\"value\":";
  AppendQuoted(out, value);
  out += '}';
}
std::string DrawNumberEntry::JsonString() const { return ToJson(*this); }

void DrawSLEntry::AppendJson(std::string& out) const {
  out += "{\"price\":";
  Util::AppendFixed6(out, price);
  out += ",\"slop\":";
  Util::AppendFixed6(out, slop);
  out += ",\"len\":";
  out += std::to_string(len);
  out += ",\"dir\":";
  out += std::to_string(dir);
  out += '}';
}
std::string DrawSLEntry::JsonString() const { return ToJson(*this); }

void StickLineEntry::AppendJson(std::string& out) const {
  out += "{\"price1_\":";
  Util::AppendFixed6(out, price1_);
  out += ",\"price2_\":";
  Util::AppendFixed6(out, price2_);
  out += ",\"width_\":";
  Util::AppendFixed6(out, width_);
  out += ",\"attr_\":";
  Util::AppendFixed6(out, attr_);
  out += '}';
}
std::string StickLineEntry::JsonString() const { return ToJson(*this); }

DrawEntry::DrawEntry(std::string name, std::vector<DrawPositionEntry> positions)
    : draw_name(std::move(name)), draw_positions(std::move(positions)) {}
DrawEntry::DrawEntry(std::string name, std::vector<DrawPositionEntry> positions, int type)
    : draw_name(std::move(name)), draw_type(type), draw_positions(std::move(positions)) {}
DrawEntry::DrawEntry(std::string name, std::vector<DrawPositionEntry> positions,
                     std::string text)
    : draw_name(std::move(name)), draw_text(std::move(text)),
      draw_positions(std::move(positions)) {}
DrawEntry::DrawEntry(std::string name, std::vector<std::map<std::string, double>> klines)
    : draw_name(std::move(name)), draw_kline_datas(std::move(klines)) {}
DrawEntry::DrawEntry(std::string name, std::vector<PartLineEntry> lines)
    : draw_name(std::move(name)), part_lines(std::move(lines)) {}
DrawEntry::DrawEntry(std::string name, std::vector<DrawNumberEntry> numbers)
    : draw_name(std::move(name)), draw_numbers(std::move(numbers)) {}
DrawEntry::DrawEntry(std::string name, std::vector<DrawSLEntry> sls)
    : draw_name(std::move(name)), draw_sls(std::move(sls)) {}
DrawEntry::DrawEntry(std::string name, std::vector<StickLineEntry> sticks)
    : draw_name(std::move(name)), stick_lines(std::move(sticks)) {}

void DrawEntry::AppendJson(std::string& out) const {
  out += "{\"draw_name\":";
  AppendQuoted(out, draw_name);
  out += ",\"draw_text\":";
  AppendQuoted(out, draw_text);
  out += ",\"draw_type\":";
  out += std::to_string(draw_type);
  out += ",\"draw_kline_datas\":[";
  for (size_t i = 0; i < draw_kline_datas.size(); ++i) {
    if (i) out += ',';
    AppendKline(out, draw_kline_datas[i]);
  }
  out += "],";
  AppendList(out, "draw_positions", draw_positions);
  out += ',';
  AppendList(out, "part_lines", part_lines);
  out += ',';
  AppendList(out, "draw_numbers", draw_numbers);
  out += ',';
  AppendList(out, "draw_sls", draw_sls);
  out += ',';
  AppendList(out, "stick_lines", stick_lines);
  out += " }";
}

std::string DrawEntry::JsonString() const { return ToJson(*this); }

void DrawEntry::Dump() const {
  auto number = [](double value) { return std::to_string(value); };
  PrintLine("  name: " + draw_name);
  PrintLine("  text: " + draw_text);
  PrintLine("  type: " + std::to_string(draw_type));
  PrintLine("  kline:");
  for (const auto& kline : draw_kline_datas) {
    std::string line = "     [ ";
    for (const auto& [key, value] : kline) line += key + ":" + number(value) + " ";
    PrintLine(line + "]");
  }
  PrintLine("  positions:");
  for (const auto& e : draw_positions) {
    PrintLine("     [ price:" + number(e.price) + " offset:" + number(e.offset) + " ]");
  }
  PrintLine("  part lines:");
  for (const auto& e : part_lines) {
    PrintLine("     [ price:" + number(e.price) + " color:" + e.Color() + " ]");
  }
  PrintLine("  numbers:");
  for (const auto& e : draw_numbers) {
    PrintLine("     [ price:" + number(e.price) + " value:" + e.value + " ]");
  }
  PrintLine("  sls:");
  for (const auto& e : draw_sls) {
    PrintLine("     [ price:" + number(e.price) + " slop:" + number(e.slop) +
              " len:" + std::to_string(e.len) + " dir:" + std::to_string(e.dir) + " ]");
  }
  PrintLine("  stick lines:");
  for (const auto& e : stick_lines) {
    PrintLine("     [ price1:" + number(e.price1_) + " price2:" + number(e.price2_) +
              " width:" + number(e.width_) + " attr:" + number(e.attr_) + " ]");
  }
}

void DataExt::toString() const {
  std::cout << "m_raw_data size:" << m_raw_data.size() << std::endl;
  if (m_raw_data.empty() && m_type != LIST_TYPE) return;
  std::string line = "{";
  for (size_t i = 0; i < m_raw_data.size(); ++i) {
    if (i) line += ',';
    Util::AppendFixed6(line, m_raw_data[i]);
  }
  line += '}';
  std::cout << line << std::endl;
}
