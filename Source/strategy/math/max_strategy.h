#pragma once

#include "strategy/util/strategy.h"

// The larger of a[i] and b[i] over the shorter length; invalid where either
// is invalid. When a[i] > b[i] fails (equal values, NaN) b[i] is taken.
DataExt Max(const DataExt& a, const DataExt& b);

class MaxStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
