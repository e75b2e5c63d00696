#include "compiler/function_registry.h"

bool FunctionInfo::Accepts(size_t count) const {
  const size_t low = static_cast<size_t>(min_args);
  if (max_args == kOddFromThree) return count >= low && count % 2 == 1;
  return count >= low && count <= static_cast<size_t>(max_args);
}

const std::vector<FunctionInfo>& FunctionRegistry() {
  static const std::vector<FunctionInfo> registry = {
#define FORMULA_FUNCTION(cls, low, high, output, spread, ...) \
  {#cls, {__VA_ARGS__}, low, high, FunctionOutput::output, FunctionSpread::spread},
#include "compiler/function_registry.def"
#undef FORMULA_FUNCTION
  };
  return registry;
}
