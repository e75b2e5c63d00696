#pragma once

#include "strategy/util/strategy.h"

// Bars since X last held (0 where it holds).
DataExt BarsLast(const DataExt& x);

class BarsLastStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
