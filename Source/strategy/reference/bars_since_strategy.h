#pragma once

#include "strategy/util/strategy.h"

// Bars since X first held (0 until then).
DataExt BarsSince(const DataExt& x);

class BarsSinceStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
