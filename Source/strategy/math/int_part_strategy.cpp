#include "strategy/math/int_part_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt IntPart(const DataExt& x) {
  return MapUnary(x, [](double v) { return v < 0 ? std::ceil(v) : std::floor(v); });
}

DataExt IntPartStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(IntPart);
}
