#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// BARPOS: the bar's index, 0 for the oldest bar; one value per bar whether or
// not it has a time.
DataExt BarPos(const BarData& bars);

class BarPosStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
