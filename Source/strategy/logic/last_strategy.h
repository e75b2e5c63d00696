#pragma once

#include "strategy/util/strategy.h"

// The number of consecutive true bars ending at i (0 where x[i] is false);
// invalid before the first valid bar.
DataExt Last(const DataExt& x);

class LastStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
