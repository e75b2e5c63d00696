#include "strategy/math/pow_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Pow(const DataExt& a, const DataExt& b) {
  return MapBinary(a, b, [](double x, double y) { return std::pow(x, y); });
}

DataExt PowStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars, Arg::kWidenedToBars>(Pow);
}
