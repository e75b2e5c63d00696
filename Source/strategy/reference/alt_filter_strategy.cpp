#include "strategy/reference/alt_filter_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/window_loop.h"

namespace {

double Truth(bool value) { return value ? 1.0 : 0.0; }

}  // namespace

DataExt AltFilter(const DataExt& a, const DataExt& b) {
  const std::vector<double>& as = a.getRawData();
  const std::vector<double>& bs = b.getRawData();
  const size_t len = MinLength(as, bs);
  const size_t g = FirstValidBarOfBoth(as, bs);
  // The previous bar's conditions come from the inputs, not from the output;
  // bars beyond the shorter input stay 0.0.
  return DataExt(FromFirstValid(as.size(), g, [&](size_t i) {
    if (i >= len) return 0.0;
    const bool pa = i > g && Holds(as[i - 1]);
    const bool pb = i > g && Holds(bs[i - 1]);
    if (pa == pb) return Truth(Holds(as[i]) || Holds(bs[i]));
    return pa ? Truth(!Holds(as[i])) : Truth(!Holds(bs[i]));
  }));
}

// A single number, a string or a drawing as B has no values: no bar is read.
DataExt AltFilterStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kAny>(AltFilter);
}
