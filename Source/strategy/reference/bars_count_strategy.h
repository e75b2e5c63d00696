#pragma once

#include "strategy/util/strategy.h"

// Bars since the first valid bar of X (0 there).
DataExt BarsCount(const DataExt& x);

class BarsCountStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
