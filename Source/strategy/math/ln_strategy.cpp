#include "strategy/math/ln_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Ln(const DataExt& x) {
  return MapUnary(x, [](double v) { return v <= 0 ? kInvalidValue : std::log(v); });
}

DataExt LnStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Ln);
}
