#include "compiler/common.h"

#include <initializer_list>

namespace {

void AddAll(std::map<std::string, std::vector<int>>& map,
            std::initializer_list<const char*> names, std::vector<int> counts) {
  for (const char* name : names) map[name] = counts;
}

}  // namespace

const Table* Table::Instance() {
  // A function-local static is built once, even under concurrent first calls.
  static const Table table;
  return &table;
}

Table::Table() {
  AddAll(m_draw, {"DRAWBARLINE", "DRAWKLINE", "DRAWNUMBER"}, {4});
  AddAll(m_draw, {"DRAWKLINEEX", "DRAWSL", "STICKLINE"}, {5});
  AddAll(m_draw, {"DRAWICON", "DRAWTEXT"}, {3, 4});
  AddAll(m_draw, {"DRAWLINE"}, {4, 5});
  AddAll(m_draw, {"PARTLINE2"}, {kOddCountFromThree});
  AddAll(m_draw, {"PARTLINE", "POLYLINE", "VERTLINE"}, {2});

  AddAll(m_functions,
         {"C", "CLOSE", "L", "LOW", "H", "HIGH", "O", "OPEN", "V", "VOL", "BARSTATUS",
          "ISLASTBAR", "PERIOD", "BARPOS", "DATE", "DAY", "HOUR", "MINUTE", "MONTH", "TIME",
          "WEEKDAY", "YEAR"},
         {0});
  AddAll(m_functions,
         {"ALIGNRIGHT", "BARSCOUNT", "BARSLAST", "BARSNEXT", "BARSSINCE", "CONST",
          "CURRBARSCOUNT", "LOWRANGE", "TOPRANGE", "TOTALBARSCOUNT", "ABS", "ASIN", "ACOS",
          "ATAN", "CEILING", "COS", "EXP", "FLOOR", "FRACPART", "INTPART", "LN", "LOG", "RAND",
          "REVERSE", "ROUND", "SGN", "SIGN", "SIN", "SQRT", "TAN", "LAST", "NOT"},
         {1});
  AddAll(m_functions,
         {"ALTFILTER", "BACKSET", "BARSSINCEN", "COUNT", "COUNT2", "DMA", "DTPRICE", "EMA",
          "EMA2", "FILTER", "HHV", "HHVBARS", "HOD", "LLV", "LLVBARS", "LOD", "MA", "MEMA",
          "MULAR", "REF", "REFX", "SUM", "SUMBARS", "WMA", "ZTPRICE", "MAX", "MIN", "MOD", "POW",
          "ROUND2", "AVEDEV", "DEVSQ", "FORCAST", "SLOPE", "STD", "STDP", "VAR", "VARP", "ALL",
          "ANY", "CROSS", "DOWNNDAY", "EVERY", "EXIST", "UPNDAY", "VALUEWHEN"},
         {2});
  AddAll(m_functions,
         {"SMA", "COVAR", "RELATE", "BETWEEN", "IF", "IFF", "IFN", "LONGCROSS", "NDAY", "RANGE",
          "COLORRGB", "SAR", "SARTURN"},
         {3});
  AddAll(m_functions, {"FINDHIGH", "FINDHIGHBARS", "FINDLOW", "FINDLOWBARS"}, {4});
  for (const auto& entry : m_draw) m_functions[entry.first] = entry.second;

  for (const char* name : {"NULL", "DRAWNULL"}) m_statics[name] = true;

  for (const char* name :
       {"COLORBLACK", "COLORBLUE", "COLORCYAN", "COLORGRAY", "COLORGREEN", "COLORMAGENTA",
        "COLORORANGE", "COLORPURPLE", "COLORRED", "COLORWHITE", "COLORYELLOW", "COLORSTICK",
        "LINETHICK1", "LINETHICK2", "LINETHICK3", "LINETHICK4", "LINETHICK5", "LINETHICK6",
        "LINETHICK7", "LINETHICK8", "LINETHICK9", "CIRCLEDOT", "CROSSDOT", "DOTLINE",
        "LINESTICK", "NODRAW", "POINTDOT", "STICK", "VOLSTICK"}) {
    m_properties[name] = true;
  }
}

bool Table::IsFunction(const std::string& name) const { return m_functions.count(name) != 0; }

bool Table::IsDraw(const std::string& name) const { return m_draw.count(name) != 0; }

bool Table::IsStatic(const std::string& name) const { return m_statics.count(name) != 0; }

bool Table::IsProperty(const std::string& name) const { return m_properties.count(name) != 0; }

std::vector<int> Table::FunctionParamsCount(const std::string& name) const {
  auto found = m_functions.find(name);
  if (found == m_functions.end()) return {};
  return found->second;
}
