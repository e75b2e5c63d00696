#pragma once

#include "strategy/util/strategy.h"

// The candles of DRAWKLINE, drawn as bars.
DataExt DrawBarLine(const DataExt& high, const DataExt& open, const DataExt& low,
                    const DataExt& close);

class DrawBarLineStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
