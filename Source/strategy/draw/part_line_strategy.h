#pragma once

#include "strategy/util/strategy.h"

// As POLYLINE, under its own record name.
DataExt PartLine(const DataExt& condition, const DataExt& price);

class PartLineStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
