#include "strategy/reference/is_last_bar_strategy.h"

DataExt IsLastBar(const BarData& bars) {
  std::vector<double> out(bars.size(), 0.0);
  if (!out.empty()) out.back() = 1.0;
  return DataExt(std::move(out));
}

DataExt IsLastBarStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return IsLastBar(env.Bars());
}
