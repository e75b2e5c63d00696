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
  return CallWithCount(args[1], [&args](const auto& n) { return Hod(args[0], n); });
}
