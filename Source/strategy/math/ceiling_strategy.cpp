#include "strategy/math/ceiling_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Ceiling(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::ceil(v); });
}

DataExt CeilingStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Ceiling);
}
