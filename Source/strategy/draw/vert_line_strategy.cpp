#include "strategy/draw/vert_line_strategy.h"

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"

DataExt VertLine(const DataExt& condition, const DataExt& width) {
  const std::vector<double>& holds = SeriesOf(condition);
  std::vector<DrawPositionEntry> positions;
  positions.reserve(holds.size());
  for (double value : holds) positions.emplace_back(Holds(value) ? 1.0 : 0.0, 0.0);
  int type = width.isSingleNumberType() ? TruncToInt32(width.getSingleNumber()) : 1;
  return DataExt(DrawEntry("VERTLINE", std::move(positions), type));
}

DataExt VertLineStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny>(VertLine);
}
