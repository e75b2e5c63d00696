#pragma once

#include "strategy/util/strategy.h"

// The valid values of X, in their order, moved to the right end of a series
// as long as X; the invalid values gather at the left end.
DataExt AlignRight(const DataExt& x);

class AlignRightStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
