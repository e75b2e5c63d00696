#pragma once

#include "strategy/util/strategy.h"

// Arc tangent per bar.
DataExt ATan(const DataExt& x);

class ATanStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
