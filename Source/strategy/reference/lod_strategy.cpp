#include "strategy/reference/lod_strategy.h"

#include "strategy/reference/extreme_rank.h"

DataExt Lod(const DataExt& x, unsigned long n) {
  return DataExt(RankInWindow<LowSide>(x.getRawData(), n));
}

DataExt Lod(const DataExt& x, const DataExt& n) {
  return DataExt(RankInPerBarWindow<LowSide>(x.getRawData(), n.getRawData()));
}

DataExt LodStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  return CallWithCount(args[1], [&args](const auto& n) { return Lod(args[0], n); });
}
