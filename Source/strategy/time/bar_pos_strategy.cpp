#include "strategy/time/bar_pos_strategy.h"

DataExt BarPos(const BarData& bars) {
  std::vector<double> out(bars.size());
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<double>(i);
  return DataExt(std::move(out));
}

DataExt BarPosStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return BarPos(env.Bars());
}
