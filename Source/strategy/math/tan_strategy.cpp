#include "strategy/math/tan_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Tan(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::tan(v); });
}

DataExt TanStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Tan);
}
