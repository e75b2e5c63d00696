#include "strategy/market/close_strategy.h"

double CloseItem(const std::map<std::string, std::string>& row) {
  return BarData::ReadField(row, "c", "close");
}

DataExt Close(const BarData& bars) { return DataExt(bars.Close()); }

DataExt CloseStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Close(env.Bars());
}
