#pragma once

#include "strategy/util/strategy.h"

// Negation per bar (0 becomes -0.0).
DataExt Reverse(const DataExt& x);

class ReverseStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
