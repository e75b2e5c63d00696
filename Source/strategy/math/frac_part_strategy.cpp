#include "strategy/math/frac_part_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt FracPart(const DataExt& x) {
  return MapUnary(x, [](double v) { return v < 0 ? v - std::ceil(v) : v - std::floor(v); });
}

DataExt FracPartStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(FracPart);
}
