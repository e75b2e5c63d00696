#include "strategy/reference/bar_status_strategy.h"

DataExt BarStatus(const BarData& bars) {
  std::vector<double> out(bars.size(), 0.0);
  if (!out.empty()) {
    out.front() = 1.0;
    out.back() = 2.0;  // a single bar is the last one
  }
  return DataExt(std::move(out));
}

DataExt BarStatusStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return BarStatus(env.Bars());
}
