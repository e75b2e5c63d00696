#include "strategy/math/atan_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"

DataExt ATan(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::atan(v); });
}

DataExt ATanStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return ExecUnary(args, env, ATan);
}
