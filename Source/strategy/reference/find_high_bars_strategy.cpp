#include "strategy/reference/find_high_bars_strategy.h"

#include "strategy/reference/find_extreme.h"

DataExt FindHighBars(const DataExt& x, unsigned long n, unsigned long m, unsigned long t) {
  return FindConstant<FindHighOrder>(x, n, m, t, FindOutput::kBars);
}

DataExt FindHighBars(const DataExt& x, const DataExt& n, const DataExt& m, const DataExt& t) {
  return FindPerBar<FindHighOrder>(x, n, m, t, FindOutput::kBars);
}

DataExt FindHighBarsStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                   std::shared_ptr<AstNode>) {
  return FindExec<FindHighOrder>(Args(args, env), FindOutput::kBars);
}
