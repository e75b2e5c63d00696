#include "strategy/logic/if_strategy.h"

#include "strategy/logic/logic_util.h"

DataExt If(const DataExt& k_value, const DataExt& a_value, const DataExt& b_value) {
  const std::vector<double>& k = k_value.m_raw_data;
  const std::vector<double>& a = a_value.m_raw_data;
  const std::vector<double>& b = b_value.m_raw_data;
  const size_t length = MinLength(k, a, b);
  std::vector<double> out(length);
  for (size_t i = 0; i < length; ++i) {
    // Both branches are read first so that the choice compiles to a select.
    const double when_true = a[i];
    const double when_false = b[i];
    const double chosen = Holds(k[i]) ? when_true : when_false;
    out[i] = IsValid(k[i]) ? chosen : kInvalidValue;
  }
  return DataExt(std::move(out));
}

DataExt If(const DataExt& k_value, double a, double b) {
  const std::vector<double>& k = k_value.m_raw_data;
  std::vector<double> out(k.size());
  for (size_t i = 0; i < k.size(); ++i) {
    const double chosen = Holds(k[i]) ? a : b;
    out[i] = IsValid(k[i]) ? chosen : kInvalidValue;
  }
  return DataExt(std::move(out));
}

DataExt IfStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return DispatchNumbersOrSeries(Args(args, env), FORMULA_OVERLOADS(If));
}
