#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "compiler/ast_node.h"
#include "compiler/data_ext.h"
#include "compiler/environment.h"
#include "compiler/incremental.h"

// The interface of every built-in function. A strategy holds no state; its
// Exec only looks at the kinds of the evaluated arguments and hands them to
// the free function that does the arithmetic. Unusable arguments give the
// empty series; a strategy never throws.
class Strategy {
 public:
  virtual ~Strategy() = default;
  virtual DataExt Exec(std::vector<DataExt> args, Environment& env,
                       std::shared_ptr<AstNode> node) = 0;
  // Continues the function's output kept in `state` (over the previous bars)
  // from bar `from` on, for the arguments `args` over `bar_count` bars, with
  // the same loop as Exec, so the result is Exec's bit for bit. Returns false,
  // leaving the state untouched, when these arguments or the bars still held
  // allow no continuation: the caller then runs Exec. Declared by the
  // functions whose registry row says kResumes.
  virtual bool Resume(const std::vector<const NodeState*>& /*args*/, size_t /*bar_count*/,
                      size_t /*from*/, NodeState& /*state*/) const {
    return false;
  }
  // How many trailing bars of its arguments Resume reads again on the next
  // run (kAllBars: all of them).
  virtual size_t Lookback(const std::vector<const NodeState*>& /*args*/) const { return kAllBars; }
};

// One class per row of the function registry (MaStrategy, CrossStrategy,
// ...), all alike; each function's .cpp file defines its Exec, and Resume
// and Lookback when its row says kResumes.
#define FORMULA_CLASS_BEGIN(cls)                              \
  class cls : public Strategy {                               \
   public:                                                    \
    DataExt Exec(std::vector<DataExt> args, Environment& env, \
                 std::shared_ptr<AstNode> node) override;
#define FORMULA_CLASS_kResumes(cls)                                                         \
  FORMULA_CLASS_BEGIN(cls)                                                                  \
  bool Resume(const std::vector<const NodeState*>& args, size_t bar_count, size_t from,     \
              NodeState& state) const override;                                             \
  size_t Lookback(const std::vector<const NodeState*>& args) const override;                \
  };
#define FORMULA_CLASS_OTHER(cls) \
  FORMULA_CLASS_BEGIN(cls)       \
  };
#define FORMULA_CLASS_kColumn FORMULA_CLASS_OTHER
#define FORMULA_CLASS_kPointwise FORMULA_CLASS_OTHER
#define FORMULA_CLASS_kFromBar FORMULA_CLASS_OTHER
#define FORMULA_CLASS_kFromEarlierBar FORMULA_CLASS_OTHER
#define FORMULA_CLASS_kFromFirstBar FORMULA_CLASS_OTHER
#define FORMULA_FUNCTION(cls, low, high, output, spread, ...) FORMULA_CLASS_##spread(cls)
#include "compiler/function_registry.def"
#undef FORMULA_FUNCTION
