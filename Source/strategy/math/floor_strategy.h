#pragma once

#include "strategy/util/strategy.h"

// Largest whole number not above each value.
DataExt Floor(const DataExt& x);

class FloorStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
