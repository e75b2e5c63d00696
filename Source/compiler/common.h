#pragma once

#include <map>
#include <string>
#include <vector>

#include "compiler/function_registry.h"

// The fixed vocabulary of the formula language: built-in function names with
// the argument counts each accepts and the drawing functions among them (all
// three from the function registry), the static names and the display
// property names. Names are case-sensitive.
class Table {
 public:
  // An allowed-count entry meaning "any odd count from 3 upwards".
  static constexpr int kOddCountFromThree = kOddFromThree;

  // The process-wide table, built on first use.
  static const Table* Instance();

  bool IsFunction(const std::string& name) const;
  bool IsDraw(const std::string& name) const;
  bool IsStatic(const std::string& name) const;
  bool IsProperty(const std::string& name) const;
  // The allowed argument counts of a function, empty for any other name.
  std::vector<int> FunctionParamsCount(const std::string& name) const;

  const std::map<std::string, std::vector<int>>& Functions() const { return m_functions; }
  const std::map<std::string, std::vector<int>>& Draws() const { return m_draw; }
  const std::map<std::string, bool>& Statics() const { return m_statics; }
  const std::map<std::string, bool>& Properties() const { return m_properties; }

  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

 private:
  Table();

  std::map<std::string, std::vector<int>> m_functions;
  std::map<std::string, std::vector<int>> m_draw;
  std::map<std::string, bool> m_statics;
  std::map<std::string, bool> m_properties;
};
