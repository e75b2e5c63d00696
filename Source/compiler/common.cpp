#include "compiler/common.h"

#include "compiler/function_registry.h"

const Table* Table::Instance() {
  // A function-local static is built once, even under concurrent first calls.
  static const Table table;
  return &table;
}

Table::Table() {
  // Functions and their argument counts come from the function registry.
  for (const FunctionInfo& function : FunctionRegistry()) {
    std::vector<int> counts;
    if (function.max_args == kOddFromThree) {
      counts.push_back(kOddCountFromThree);
    } else {
      for (int n = function.min_args; n <= function.max_args; ++n) counts.push_back(n);
    }
    for (const std::string& name : function.names) {
      m_functions[name] = counts;
      if (function.Draws()) m_draw[name] = counts;
    }
  }

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
