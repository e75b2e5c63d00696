#include "strategy/util/strategy_factory.h"

#include <unordered_map>

#include "compiler/function_registry.h"

namespace {

using Creator = std::unique_ptr<Strategy> (*)();

template <typename T>
std::unique_ptr<Strategy> Make() {
  return std::make_unique<T>();
}

// Name to creator, built once from the function registry: one hash lookup
// per call. Names are unique, so lookup order decides nothing.
const std::unordered_map<std::string, Creator>& Index() {
  static const std::unordered_map<std::string, Creator> index = [] {
    const Creator creators[] = {
#define FORMULA_FUNCTION(cls, ...) &Make<cls>,
#include "compiler/function_registry.def"
#undef FORMULA_FUNCTION
    };
    std::unordered_map<std::string, Creator> map;
    size_t row = 0;
    for (const FunctionInfo& function : FunctionRegistry()) {
      for (const std::string& name : function.names) map.emplace(name, creators[row]);
      ++row;
    }
    return map;
  }();
  return index;
}

}  // namespace

std::unique_ptr<Strategy> StrategyFactory::StrategyByName(const std::string& name) {
  auto it = Index().find(name);
  if (it == Index().end()) return nullptr;
  return it->second();
}

bool StrategyFactory::match(const std::string& name, std::vector<std::string> names) {
  for (const std::string& candidate : names) {
    if (candidate == name) return true;
  }
  return false;
}
