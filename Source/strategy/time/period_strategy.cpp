#include "strategy/time/period_strategy.h"

#include "strategy/util/strategy_util.h"

DataExt PeriodStrategy::Exec(std::vector<DataExt>, Environment& env, std::shared_ptr<AstNode>) {
  return DataExt(Broadcast(static_cast<double>(env.m_period), env.BarCount()));
}
