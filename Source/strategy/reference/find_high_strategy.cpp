#include "strategy/reference/find_high_strategy.h"

#include "strategy/reference/find_extreme.h"

DataExt FindHigh(const DataExt& x, unsigned long n, unsigned long m, unsigned long t) {
  return FindConstant<FindHighOrder>(x, n, m, t, FindOutput::kValue);
}

DataExt FindHigh(const DataExt& x, const DataExt& n, const DataExt& m, const DataExt& t) {
  return FindPerBar<FindHighOrder>(x, n, m, t, FindOutput::kValue);
}

DataExt FindHighStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return FindExec<FindHighOrder>(Args(args, env), FindOutput::kValue);
}
