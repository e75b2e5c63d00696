#pragma once

#include "strategy/util/strategy.h"

// e to the power of each value; overflow gives infinity.
DataExt Exp(const DataExt& x);

class ExpStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
