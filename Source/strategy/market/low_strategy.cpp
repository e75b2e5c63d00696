#include "strategy/market/low_strategy.h"

double LowItem(const std::map<std::string, std::string>& row) {
  return BarData::ReadField(row, "l", "low");
}

DataExt Low(const BarData& bars) { return DataExt(bars.Low()); }

DataExt LowStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Low(env.Bars());
}
