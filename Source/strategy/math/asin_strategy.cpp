#include "strategy/math/asin_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt ASin(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::asin(v); });
}

DataExt ASinStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(ASin);
}
