#pragma once

#include "strategy/util/strategy.h"

// Sine per bar (radians).
DataExt Sin(const DataExt& x);

class SinStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
