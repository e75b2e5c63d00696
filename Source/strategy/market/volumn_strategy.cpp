#include "strategy/market/volumn_strategy.h"

double VolumnItem(const std::map<std::string, std::string>& row) {
  return BarData::ReadField(row, "v", "vol");
}

DataExt Volumn(const BarData& bars) { return DataExt(bars.Volume()); }

DataExt VolumnStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return Volumn(env.Bars());
}
