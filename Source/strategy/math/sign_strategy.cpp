#include "strategy/math/sign_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Sign(const DataExt& x) {
  return MapUnary(x, [](double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); });
}

DataExt SignStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Sign);
}
