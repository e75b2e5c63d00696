#include "strategy/statistics/forcast_strategy.h"

#include "strategy/statistics/window_stats.h"
#include "strategy/util/args.h"

namespace {

double LineValueAt(const LineFit& fit, double t, double y) {
  return fit.flat ? y : fit.slope * t + (fit.mean_y - fit.mean_t * fit.slope);
}

}  // namespace

DataExt Forcast(const DataExt& x, unsigned long n) {
  return DataExt(ConstantLineSeries(x.getRawData(), n, LineValueAt));
}

DataExt Forcast(const DataExt& x, const DataExt& n) {
  return DataExt(PerBarLineSeries(x.getRawData(), n.getRawData(), LineValueAt));
}

DataExt ForcastStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  return CallWithPeriod(Args(args, env), FORMULA_OVERLOADS(Forcast));
}
