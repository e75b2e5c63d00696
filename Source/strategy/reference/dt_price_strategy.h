#pragma once

#include "strategy/util/strategy.h"

// Lower price limit x - x * r (no rounding to a price tick).
DataExt DtPrice(const DataExt& x, double r);
DataExt DtPrice(const DataExt& x, const DataExt& r);

class DtPriceStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
