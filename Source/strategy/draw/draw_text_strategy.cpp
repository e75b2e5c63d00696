#include "strategy/draw/draw_text_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"

DataExt DrawText(const DataExt& condition, const DataExt& price, const DataExt& text,
                 const DataExt& offset) {
  return DataExt(DrawEntry("DRAWTEXT", MarkPositions(condition, price, offset), text.m_string));
}

// The offset is optional: an absent one reads as the empty series.
DataExt DrawTextStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  const Args view(args, env);
  if (!view.Text(2)) return DataExt();
  return DrawText(view.Value(0), view.Value(1), view.Value(2), view.Value(3));
}
