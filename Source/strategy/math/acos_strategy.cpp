#include "strategy/math/acos_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"

DataExt ACos(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::acos(v); });
}

DataExt ACosStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return ExecUnary(args, env, ACos);
}
