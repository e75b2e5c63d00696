#include "strategy/math/cos_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Cos(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::cos(v); });
}

DataExt CosStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Cos);
}
