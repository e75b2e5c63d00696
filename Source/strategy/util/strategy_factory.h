#pragma once

#include <memory>
#include <string>
#include <vector>

#include "strategy/util/strategy.h"

// Maps a function name, exactly as written, to a new strategy object.
class StrategyFactory {
 public:
  // A new object of the function's class; null when no built-in function
  // has that name (compared exactly, case included).
  static std::unique_ptr<Strategy> StrategyByName(const std::string& name);
  // True when `name` equals some element of `names`.
  static bool match(const std::string& name, std::vector<std::string> names);
};
