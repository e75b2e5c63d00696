#pragma once

#include "strategy/util/strategy.h"

// Tangent per bar (radians).
DataExt Tan(const DataExt& x);

class TanStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
