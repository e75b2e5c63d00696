#include "strategy/reference/hod_strategy.h"

#include "strategy/reference/extreme_rank.h"

DataExt Hod(const DataExt& x, unsigned long n) {
  return DataExt(RankInWindow<HighSide>(x.getRawData(), n));
}

DataExt Hod(const DataExt& x, const DataExt& n) {
  return DataExt(RankInPerBarWindow<HighSide>(x.getRawData(), n.getRawData()));
}

DataExt HodStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  switch (KindOf(args[1])) {
    case ArgKind::kNumber: return Hod(args[0], ToCount(args[1].getSingleNumber()));
    case ArgKind::kSeries: return Hod(args[0], args[1]);
    default: return DataExt();
  }
}
