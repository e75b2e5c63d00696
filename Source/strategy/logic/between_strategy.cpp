#include "strategy/logic/between_strategy.h"

#include <algorithm>

#include "strategy/logic/logic_util.h"

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

DataExt BetweenStrategy::Exec(std::vector<DataExt> args, Environment&, std::shared_ptr<AstNode>) {
  if (args.size() < 3) return DataExt();
  const ArgKind second = KindOf(args[1]);
  const ArgKind third = KindOf(args[2]);
  if (second == ArgKind::kNumber && third == ArgKind::kNumber) {
    return Between(args[0], args[1].getSingleNumber(), args[2].getSingleNumber());
  }
  if (second == ArgKind::kSeries && third == ArgKind::kSeries) {
    return Between(args[0], args[1], args[2]);
  }
  return DataExt();
}
