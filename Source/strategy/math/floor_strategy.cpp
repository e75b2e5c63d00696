#include "strategy/math/floor_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Floor(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::floor(v); });
}

DataExt FloorStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Floor);
}
