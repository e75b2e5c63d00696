#include "strategy/reference/find_low_strategy.h"

#include "strategy/reference/find_extreme.h"

DataExt FindLow(const DataExt& x, unsigned long n, unsigned long m, unsigned long t) {
  return FindConstant<FindLowOrder>(x, n, m, t, FindOutput::kValue);
}

DataExt FindLow(const DataExt& x, const DataExt& n, const DataExt& m, const DataExt& t) {
  return FindPerBar<FindLowOrder>(x, n, m, t, FindOutput::kValue);
}

DataExt FindLowStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return FindExec<FindLowOrder>(Args(args, env), FindOutput::kValue);
}
