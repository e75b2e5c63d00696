#include "strategy/logic/range_strategy.h"

#include "strategy/logic/logic_util.h"

DataExt Range(const DataExt& a_value, const DataExt& b_value, const DataExt& c_value) {
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const std::vector<double>& c = c_value.m_raw_data;
  std::vector<double> out(a.size(), 0.0);
  const size_t length = MinLength(a, b, c);
  for (size_t i = 0; i < length; ++i) {
    if (!IsValid(a[i]) || !IsValid(b[i]) || !IsValid(c[i])) {
      out[i] = kInvalidValue;
    } else if (b[i] < a[i] && a[i] < c[i]) {
      out[i] = 1.0;
    }
  }
  return DataExt(std::move(out));
}

DataExt Range(const DataExt& a_value, double b, double c) {
  const std::vector<double>& a = a_value.m_raw_data;
  std::vector<double> out(a.size(), kInvalidValue);
  if (!IsValid(b) || !IsValid(c)) return DataExt(std::move(out));
  for (size_t i = 0; i < a.size(); ++i) {
    if (IsValid(a[i])) out[i] = b < a[i] && a[i] < c ? 1.0 : 0.0;
  }
  return DataExt(std::move(out));
}

DataExt RangeStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return DispatchNumbersOrSeries(Args(args, env), FORMULA_OVERLOADS(Range));
}
