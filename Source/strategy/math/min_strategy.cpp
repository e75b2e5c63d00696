#include "strategy/math/min_strategy.h"

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Min(const DataExt& a, const DataExt& b) {
  return MapBinary(a, b, [](double x, double y) { return x < y ? x : y; });
}

DataExt MinStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars, Arg::kWidenedToBars>(Min);
}
