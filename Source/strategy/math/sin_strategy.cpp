#include "strategy/math/sin_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Sin(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::sin(v); });
}

DataExt SinStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Sin);
}
