#include "strategy/logic/last_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt Last(const DataExt& x_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  double run = 0.0;
  return DataExt(FromFirstValid(x.size(), FirstValidBar(x), [&](size_t i) {
    run = (run + 1.0) * static_cast<double>(Holds(x[i]));  // branch-free reset
    return run;
  }));
}

DataExt LastStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny>(Last);
}
