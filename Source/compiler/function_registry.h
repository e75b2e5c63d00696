#pragma once

#include <string>
#include <vector>

// Accepted argument counts of PARTLINE2: any odd count from 3 upwards.
inline constexpr int kOddFromThree = -1;

enum class FunctionOutput { kValue, kDraws };

// How a change of the bars at bar s reaches a function's result (see
// function_registry.def). The kinds up to kFromBar are causal.
enum class FunctionSpread { kColumn, kPointwise, kResumes, kFromBar, kFromEarlierBar, kFromFirstBar };

// One built-in function, as listed in function_registry.def.
struct FunctionInfo {
  const char* class_name;          // e.g. "MaStrategy"
  std::vector<std::string> names;  // accepted names, aliases included
  int min_args;
  int max_args;  // kOddFromThree: odd counts from min_args upwards
  FunctionOutput output;
  FunctionSpread spread;

  bool Draws() const { return output == FunctionOutput::kDraws; }
  // A change at bar s leaves the result before bar s as it was.
  bool Causal() const { return spread <= FunctionSpread::kFromBar; }
  bool Accepts(size_t count) const;
};

// Every built-in function in lookup order; built once, never changes.
const std::vector<FunctionInfo>& FunctionRegistry();

// The function of a name or alias (null when none).
const FunctionInfo* FindFunction(const std::string& name);
