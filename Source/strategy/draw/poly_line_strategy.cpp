#include "strategy/draw/poly_line_strategy.h"

#include "strategy/draw/draw_util.h"

DataExt PolyLine(const DataExt& condition, const DataExt& price) {
  return DataExt(DrawEntry("POLYLINE", PricesWhere(condition, price)));
}

DataExt PolyLineStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 2) return DataExt();
  return PolyLine(args[0], args[1]);
}
