#include "strategy/reference/alt_filter_strategy.h"

#include "strategy/util/strategy_util.h"

namespace {

double Truth(bool value) { return value ? 1.0 : 0.0; }

}  // namespace

DataExt AltFilter(const DataExt& a, const DataExt& b) {
  const std::vector<double>& as = a.getRawData();
  const std::vector<double>& bs = b.getRawData();
  const size_t len = MinLength(as, bs);
  std::vector<double> out(as.size(), 0.0);
  size_t i = 0;
  for (; i < len && !(IsValid(as[i]) && IsValid(bs[i])); ++i) out[i] = kInvalidValue;
  if (i < len) out[i] = Truth(as[i] > 0.0 || bs[i] > 0.0);
  // The previous bar's conditions come from the inputs, not from the output.
  for (++i; i < len; ++i) {
    const bool pa = as[i - 1] > 0.0;
    const bool pb = bs[i - 1] > 0.0;
    if (pa == pb) {
      out[i] = Truth(as[i] > 0.0 || bs[i] > 0.0);
    } else if (pa) {
      out[i] = Truth(!(as[i] > 0.0));
    } else {
      out[i] = Truth(!(bs[i] > 0.0));
    }
  }
  return DataExt(std::move(out));
}

DataExt AltFilterStrategy::Exec(std::vector<DataExt> args, Environment&,
                                std::shared_ptr<AstNode>) {
  if (args.size() < 2 || !args[0].isListType()) return DataExt();
  // A single number, a string or a drawing as B has no values: no bar is read.
  return AltFilter(args[0], args[1].isListType() ? args[1] : DataExt());
}
