#include "strategy/draw/draw_icon_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/int_conversion.h"

DataExt DrawIcon(const DataExt& condition, const DataExt& price, const DataExt& icon,
                 const DataExt& offset) {
  return DataExt(DrawEntry("DRAWICON", MarkPositions(condition, price, offset),
                           TruncToInt32(icon.getSingleNumber())));
}

DataExt DrawIconStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 3 || !args[2].isSingleNumberType()) return DataExt();
  const DataExt no_offset;
  return DrawIcon(args[0], args[1], args[2], args.size() > 3 ? args[3] : no_offset);
}
