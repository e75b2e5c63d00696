#include "strategy/statistics/slope_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double SlopeOf(const LineFit& fit, double, double) { return fit.flat ? 1.0 : fit.slope; }

}  // namespace

DataExt Slope(const DataExt& x, unsigned long n) {
  return DataExt(ConstantLineSeries(x.getRawData(), n, SlopeOf));
}

DataExt Slope(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarLineSeries(x.getRawData(), n.getRawData(), SlopeOf));
}

DataExt SlopeStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return CallWithPeriod(Args(args, env), FORMULA_OVERLOADS(Slope));
}
