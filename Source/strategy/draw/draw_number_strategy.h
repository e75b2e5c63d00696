#pragma once

#include "strategy/util/strategy.h"

// The number written with `decimals` decimals where the condition holds, the
// empty text elsewhere; the price is kept on every bar.
DataExt DrawNumber(const DataExt& condition, const DataExt& price, const DataExt& number,
                   int decimals);

class DrawNumberStrategy : public Strategy {
 public:
  DataExt Exec(std::vector<DataExt> args, Environment& env,
               std::shared_ptr<AstNode> node) override;
};
