#pragma once

#include "strategy/util/strategy.h"

// Arc sine per bar; arguments outside [-1, 1] give NaN.
DataExt ASin(const DataExt& x);

class ASinStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
