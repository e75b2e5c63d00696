#include "strategy/draw/part_line_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"

DataExt PartLine(const DataExt& condition, const DataExt& price) {
  return DataExt(DrawEntry("PARTLINE", PricesWhere(condition, price)));
}

DataExt PartLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(PartLine);
}
