#pragma once

#include "strategy/util/strategy.h"

// Absolute value per bar; the invalid value stays invalid (it is not turned positive).
DataExt Abs(const DataExt& x);

class AbsStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
