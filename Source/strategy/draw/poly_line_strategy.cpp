#include "strategy/draw/poly_line_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"

DataExt PolyLine(const DataExt& condition, const DataExt& price) {
  return DataExt(DrawEntry("POLYLINE", PricesWhere(condition, price)));
}

DataExt PolyLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(PolyLine);
}
