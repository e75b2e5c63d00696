#pragma once

#include "strategy/util/strategy.h"

// Cosine per bar (radians).
DataExt Cos(const DataExt& x);

class CosStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
