#include "strategy/math/sin_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"

DataExt Sin(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::sin(v); });
}

DataExt SinStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return ExecUnary(args, env, Sin);
}
