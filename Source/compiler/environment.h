#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "compiler/bar_data.h"
#include "compiler/data_ext.h"

// The run context handed by reference to every built-in function: a
// read-only view of the bars (owned by whoever made the context, bound for
// its whole life, never copied), the chart period and the formula's
// variables.
class Environment {
 public:
  // A context over no bars.
  Environment() : Environment(NoBars()) {}
  explicit Environment(const BarData& bars) : m_bars(&bars) {}

  const BarData& Bars() const { return *m_bars; }
  // N: the length a single number takes when it is widened into a series.
  size_t BarCount() const { return m_widen_to == kBars ? m_bars->size() : m_widen_to; }
  void Reset() {}

  // While a bar-by-bar function runs over the changed last bars only, the
  // numbers it widens cover those bars, not the whole run.
  class WidenOver {
   public:
    WidenOver(Environment& env, size_t length) : m_env(env) { m_env.m_widen_to = length; }
    ~WidenOver() { m_env.m_widen_to = kBars; }
    WidenOver(const WidenOver&) = delete;
    WidenOver& operator=(const WidenOver&) = delete;

   private:
    Environment& m_env;
  };

  unsigned long m_period = 0;  // minutes per bar; 1440 is a day
  std::map<std::string, DataExt> m_variables;

 private:
  static const BarData& NoBars() {
    static const BarData empty;
    return empty;
  }

  const BarData* m_bars;  // never null
  static constexpr size_t kBars = SIZE_MAX;
  size_t m_widen_to = kBars;  // the widening length; kBars: the bar count
};
