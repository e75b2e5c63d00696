#pragma once

#include <memory>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/data_ext.h"
#include "compiler/environment.h"

// The interface of every built-in function. A strategy holds no state; its
// Exec only looks at the kinds of the evaluated arguments and hands them to
// the free function that does the arithmetic. Unusable arguments give the
// empty series; a strategy never throws.
class Strategy {
 public:
  virtual ~Strategy() = default;
  virtual DataExt Exec(std::vector<DataExt> args, Environment& env,
                       std::shared_ptr<AstNode> node) = 0;
};

// One class per row of the function registry (MaStrategy, CrossStrategy,
// ...), all alike; each function's .cpp file defines its Exec.
#define FORMULA_FUNCTION(cls, ...)                                 \
  class cls : public Strategy {                                    \
   public:                                                         \
    DataExt Exec(std::vector<DataExt> args, Environment& env,      \
                 std::shared_ptr<AstNode> node) override;          \
  };
#include "compiler/function_registry.def"
#undef FORMULA_FUNCTION
