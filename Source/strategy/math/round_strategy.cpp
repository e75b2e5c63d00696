#include "strategy/math/round_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Round(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::round(v); });
}

DataExt RoundStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Round);
}
