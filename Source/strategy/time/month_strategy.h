#pragma once

#include "compiler/bar_data.h"
#include "strategy/util/strategy.h"

// MONTH: 1 to 12 for every bar with a time.
DataExt Month(const BarData& bars);

class MonthStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
