#include "compiler/function_registry.h"

#include <unordered_map>

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

const FunctionInfo* FindFunction(const std::string& name) {
  static const std::unordered_map<std::string, const FunctionInfo*> index = [] {
    std::unordered_map<std::string, const FunctionInfo*> map;
    for (const FunctionInfo& function : FunctionRegistry()) {
      for (const std::string& alias : function.names) map.emplace(alias, &function);
    }
    return map;
  }();
  auto it = index.find(name);
  return it == index.end() ? nullptr : it->second;
}
