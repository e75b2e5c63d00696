#include "strategy/math/atan_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt ATan(const DataExt& x) {
  return MapUnary(x, [](double v) { return std::atan(v); });
}

DataExt ATanStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(ATan);
}
