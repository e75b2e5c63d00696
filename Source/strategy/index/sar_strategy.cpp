#include "strategy/index/sar_strategy.h"

#include "strategy/index/parabolic_sar.h"
#include "strategy/util/args.h"

DataExt Sar(const BarData& bars, unsigned long n, unsigned long s, unsigned long m) {
  std::vector<double> out;
  out.reserve(bars.size());
  ParabolicSar(bars, n, s, m, [&out](double stop, double) { out.push_back(stop); });
  return DataExt(std::move(out));
}

// N, S and M must all be single numbers; they are read as counts.
DataExt SarStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kCount, Arg::kCount, Arg::kCount>(
      [&env](uint64_t n, uint64_t s, uint64_t m) { return Sar(env.Bars(), n, s, m); });
}
