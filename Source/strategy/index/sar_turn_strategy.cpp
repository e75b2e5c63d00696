#include "strategy/index/sar_turn_strategy.h"

#include "strategy/index/parabolic_sar.h"
#include "strategy/util/args.h"

DataExt SarTurn(const BarData& bars, unsigned long n, unsigned long s, unsigned long m) {
  std::vector<double> out;
  out.reserve(bars.size());
  ParabolicSar(bars, n, s, m, [&out](double, double turn) { out.push_back(turn); });
  return DataExt(std::move(out));
}

// N, S and M must all be single numbers; they are read as counts.
DataExt SarTurnStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kCount, Arg::kCount, Arg::kCount>(
      [&env](uint64_t n, uint64_t s, uint64_t m) { return SarTurn(env.Bars(), n, s, m); });
}
