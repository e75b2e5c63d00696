#include "strategy/reference/const_strategy.h"

DataExt Const(const DataExt& x) {
  const std::vector<double>& xs = x.getRawData();
  if (xs.empty()) return DataExt();
  return DataExt(std::vector<double>(xs.size(), xs.back()));
}

DataExt ConstStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.empty() || !args[0].isListType()) return DataExt();
  return Const(args[0]);
}
