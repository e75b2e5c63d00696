#pragma once

#include "strategy/util/strategy.h"

// One candle per bar from four price series, values copied as they are.
DataExt DrawKLine(const DataExt& high, const DataExt& open, const DataExt& low,
                  const DataExt& close);

class DrawKLineStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
