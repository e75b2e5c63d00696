#include "strategy/draw/draw_text_strategy.h"

#include "strategy/draw/draw_util.h"

DataExt DrawText(const DataExt& condition, const DataExt& price, const DataExt& text,
                 const DataExt& offset) {
  return DataExt(DrawEntry("DRAWTEXT", MarkPositions(condition, price, offset), text.m_string));
}

DataExt DrawTextStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 3 || !args[2].isStringType()) return DataExt();
  const DataExt no_offset;
  return DrawText(args[0], args[1], args[2], args.size() > 3 ? args[3] : no_offset);
}
