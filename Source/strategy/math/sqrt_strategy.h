#pragma once

#include "strategy/util/strategy.h"

// Square root; negative values (the invalid value included) give the invalid value.
DataExt Sqrt(const DataExt& x);

class SqrtStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
