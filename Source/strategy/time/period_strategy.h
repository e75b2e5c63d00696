#pragma once

#include "strategy/util/strategy.h"

// PERIOD: the chart period in minutes, repeated once per bar.
class PeriodStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
