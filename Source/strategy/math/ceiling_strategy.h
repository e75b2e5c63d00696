#pragma once

#include "strategy/util/strategy.h"

// Smallest whole number not below each value.
DataExt Ceiling(const DataExt& x);

class CeilingStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
