#include "strategy/reference/const_strategy.h"

#include "strategy/util/args.h"

DataExt Const(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  if (xs.empty()) return DataExt();
  return DataExt(std::vector<double>(xs.size(), xs.back()));
}

DataExt ConstStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries>(Const);
}
