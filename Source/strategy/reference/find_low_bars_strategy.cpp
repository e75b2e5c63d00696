#include "strategy/reference/find_low_bars_strategy.h"

#include "strategy/reference/find_extreme.h"

DataExt FindLowBars(const DataExt& x, unsigned long n, unsigned long m, unsigned long t) {
  return FindConstant<FindLowOrder>(x, n, m, t, FindOutput::kBars);
}

DataExt FindLowBars(const DataExt& x, const DataExt& n, const DataExt& m, const DataExt& t) {
  return FindPerBar<FindLowOrder>(x, n, m, t, FindOutput::kBars);
}

DataExt FindLowBarsStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                  std::shared_ptr<AstNode>) {
  return FindExec<FindLowOrder>(Args(args, env), FindOutput::kBars);
}
