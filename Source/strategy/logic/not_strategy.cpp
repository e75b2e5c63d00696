#include "strategy/logic/not_strategy.h"

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

DataExt Not(const DataExt& x_value) {
  const std::vector<double>& x = x_value.m_raw_data;
  return DataExt(FromFirstValid(x.size(), FirstValidBar(x),
                                [&x](size_t i) { return Holds(x[i]) ? 0.0 : 1.0; }));
}

DataExt NotStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kWidenedToBars>(Not);
}
