#include "strategy/market/open_strategy.h"

double OpenItem(const std::map<std::string, std::string>& row) {
  return BarData::ReadField(row, "o", "open");
}

DataExt Open(const BarData& bars) { return DataExt(bars.Open()); }

DataExt OpenStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Open(env.Bars());
}
