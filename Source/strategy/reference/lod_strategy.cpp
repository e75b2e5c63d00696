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
  switch (KindOf(args[1])) {
    case ArgKind::kNumber: return Lod(args[0], ToCount(args[1].getSingleNumber()));
    case ArgKind::kSeries: return Lod(args[0], args[1]);
    default: return DataExt();
  }
}
