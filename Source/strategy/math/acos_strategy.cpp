#include "strategy/math/acos_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt ACos(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::acos(v); });
}

DataExt ACosStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(ACos);
}
