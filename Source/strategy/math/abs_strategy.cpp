#include "strategy/math/abs_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"

DataExt Abs(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::fabs(v); });
}

DataExt AbsStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return ExecUnary(args, env, Abs);
}
