#include "strategy/math/exp_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Exp(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::exp(v); });
}

DataExt ExpStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Exp);
}
