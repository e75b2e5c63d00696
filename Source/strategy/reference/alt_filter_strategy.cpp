#include "strategy/reference/alt_filter_strategy.h"

#include "strategy/util/args.h"
#include "strategy/util/strategy_util.h"

namespace {

double Truth(bool value) { return value ? 1.0 : 0.0; }

}  // namespace

DataExt AltFilter(const DataExt& a, const DataExt& b) {
  const std::vector<double>& as = a.getRawData();
  const std::vector<double>& bs = b.getRawData();
  const size_t len = MinLength(as, bs);
  std::vector<double> out(as.size(), 0.0);
  size_t i = FirstValidBarOfBoth(as, bs);
  for (size_t j = 0; j < i; ++j) out[j] = kInvalidValue;
  if (i < len) out[i] = Truth(Holds(as[i]) || Holds(bs[i]));
  // The previous bar's conditions come from the inputs, not from the output.
  for (++i; i < len; ++i) {
    const bool pa = Holds(as[i - 1]);
    const bool pb = Holds(bs[i - 1]);
    if (pa == pb) {
      out[i] = Truth(Holds(as[i]) || Holds(bs[i]));
    } else if (pa) {
      out[i] = Truth(!Holds(as[i]));
    } else {
      out[i] = Truth(!Holds(bs[i]));
    }
  }
  return DataExt(std::move(out));
}

// A single number, a string or a drawing as B has no values: no bar is read.
DataExt AltFilterStrategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kSeries, Arg::kAny>(AltFilter);
}
