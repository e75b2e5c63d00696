#include "strategy/math/abs_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Abs(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::fabs(v); });
}

DataExt AbsStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Abs);
}
