#pragma once

#include <map>
#include <memory>
#include <string>

#include "compiler/bar_data.h"
#include "compiler/data_ext.h"

// The run context handed by reference to every built-in function: the bar
// rows of the run (shared, never copied per run), the chart period and the
// formula's variables.
class Environment {
 public:
  Environment() : m_bars(std::make_shared<BarData>()) {}

  const BarData& Bars() const { return *m_bars; }
  // N: the length a single number takes when it is widened into a series.
  size_t BarCount() const { return m_bars->size(); }
  void Reset() {}

  std::shared_ptr<const BarData> m_bars;  // never null
  unsigned long m_period = 0;             // minutes per bar; 1440 is a day
  std::map<std::string, DataExt> m_variables;
};
