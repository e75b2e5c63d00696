#include "strategy/logic/between_strategy.h"

#include <algorithm>

#include "strategy/logic/logic_util.h"
#include "strategy/util/args.h"

namespace {

double InsideInclusive(double value, double b, double c) {
  return std::min(b, c) <= value && value <= std::max(b, c) ? 1.0 : 0.0;
}

}  // namespace

DataExt Between(const DataExt& a_value, const DataExt& b_value, const DataExt& c_value) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const std::vector<double>& c = c_value.m_raw_data;
  const size_t length = MinLength(a, b, c);
  std::vector<double> out(length, kInvalidValue);
  for (size_t i = 0; i < length; ++i) {
    if (IsValid(a[i]) && IsValid(b[i]) && IsValid(c[i])) out[i] = InsideInclusive(a[i], b[i], c[i]);
  }
  return DataExt(std::move(out));
}

DataExt Between(const DataExt& a_value, double b, double c) {
  const std::vector<double>& a = a_value.m_raw_data;
  std::vector<double> out(a.size(), kInvalidValue);
  if (!IsValid(b) || !IsValid(c)) return DataExt(std::move(out));
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsValid(a[i])) out[i] = InsideInclusive(a[i], b, c);
  }
  return DataExt(std::move(out));
}

// Two numbers or two series as the bounds; a mix gives the empty series.
DataExt BetweenStrategy::Exec(std::vector<DataExt> args, Environment& env,
                              std::shared_ptr<AstNode>) {
  const Args view(args, env);
  const std::optional<double> b = view.Number(1);
  const std::optional<double> c = view.Number(2);
  if (b && c) return Between(view.Value(0), *b, *c);
  if (view.Series(1) && view.Series(2)) return Between(view.Value(0), view.Value(1), view.Value(2));
  return DataExt();
}
