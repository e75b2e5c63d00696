#include "strategy/draw/draw_icon_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"

DataExt DrawIcon(const DataExt& condition, const DataExt& price, const DataExt& icon,
                 const DataExt& offset) {
  return DataExt(DrawEntry("DRAWICON", MarkPositions(condition, price, offset),
                           TruncToInt32(icon.getSingleNumber())));
}

// The offset is optional: an absent one reads as the empty series.
DataExt DrawIconStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  const Args view(args, env);
  if (!view.Number(2)) return DataExt();
  return DrawIcon(view.Value(0), view.Value(1), view.Value(2), view.Value(3));
}
