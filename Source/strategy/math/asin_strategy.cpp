#include "strategy/math/asin_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"

DataExt ASin(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::asin(v); });
}

DataExt ASinStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return ExecUnary(args, env, ASin);
}
