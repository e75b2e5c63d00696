#include "strategy/index/sar_strategy.h"

#include "strategy/index/parabolic_sar.h"

DataExt Sar(const BarData& bars, unsigned long n, unsigned long s, unsigned long m) {
  std::vector<double> out;
  out.reserve(bars.size());
  ParabolicSar(bars, n, s, m, [&out](double stop, double) { out.push_back(stop); });
  return DataExt(std::move(out));
}

DataExt SarStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return ExecParabolicSar(args, env.Bars(), Sar);
}
