#pragma once

#include <string>
#include <vector>

// Accepted argument counts of PARTLINE2: any odd count from 3 upwards.
inline constexpr int kOddFromThree = -1;

enum class FunctionOutput { kValue, kDraws };

// How far back a change of the bars at bar s can change a function's result.
enum class FunctionSpread { kFromBar, kFromEarlierBar, kFromFirstBar };

// One built-in function, as listed in function_registry.def.
struct FunctionInfo {
  const char* class_name;          // e.g. "MaStrategy"
  std::vector<std::string> names;  // accepted names, aliases included
  int min_args;
  int max_args;  // kOddFromThree: odd counts from min_args upwards
  FunctionOutput output;
  FunctionSpread spread;

  bool Draws() const { return output == FunctionOutput::kDraws; }
  bool Accepts(size_t count) const;
};

// Every built-in function in lookup order; built once, never changes.
const std::vector<FunctionInfo>& FunctionRegistry();
