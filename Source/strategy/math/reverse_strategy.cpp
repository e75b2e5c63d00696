#include "strategy/math/reverse_strategy.h"

#include <cmath>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

DataExt Reverse(const DataExt& x) {
  return MapUnary(x, [](double v) { return -v; });
}

DataExt ReverseStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Reverse);
}
