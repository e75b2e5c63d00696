#pragma once

#include "strategy/util/strategy.h"

// The last value of X at every bar (empty for an empty X).
DataExt Const(const DataExt& x);

class ConstStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
