#include "strategy/market/high_strategy.h"

double HighItem(const std::map<std::string, std::string>& row) {
  return BarData::ReadField(row, "h", "high");
}

DataExt High(const BarData& bars) { return DataExt(bars.High()); }

DataExt HighStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return High(env.Bars());
}
