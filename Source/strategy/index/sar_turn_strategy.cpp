#include "strategy/index/sar_turn_strategy.h"

#include "strategy/index/parabolic_sar.h"

DataExt SarTurn(const BarData& bars, unsigned long n, unsigned long s, unsigned long m) {
  std::vector<double> out;
  out.reserve(bars.size());
  ParabolicSar(bars, n, s, m, [&out](double, double turn) { out.push_back(turn); });
  return DataExt(std::move(out));
}

DataExt SarTurnStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return ExecParabolicSar(args, env.Bars(), SarTurn);
}
