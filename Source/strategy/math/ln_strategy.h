#pragma once

#include "strategy/util/strategy.h"

// Natural logarithm; values at or below 0 (the invalid value included) give the invalid value.
DataExt Ln(const DataExt& x);

class LnStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
