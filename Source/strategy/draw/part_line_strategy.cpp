#include "strategy/draw/part_line_strategy.h"

#include "strategy/draw/draw_util.h"

DataExt PartLine(const DataExt& condition, const DataExt& price) {
  return DataExt(DrawEntry("PARTLINE", PricesWhere(condition, price)));
}

DataExt PartLineStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2) return DataExt();
  return PartLine(args[0], args[1]);
}
