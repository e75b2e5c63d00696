#pragma once

#include "strategy/util/strategy.h"

// The length of X on every bar.
DataExt TotalBarsCount(const DataExt& x);

class TotalBarsCountStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
