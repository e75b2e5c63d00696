#include "strategy/math/mod_strategy.h"

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"

namespace {

// False when the divisor is unusable: invalid, NaN, out of range or 0 once
// truncated (0.5 included).
bool ModDivisor(double value, int32_t& divisor) {
  return IsValid(value) && TryTruncToInt32(value, divisor) && divisor != 0;
}

// Computed in 64 bits so that INT32_MIN % -1 cannot overflow.
double Remainder(double dividend, int32_t divisor) {
  int32_t whole;
  if (!TryTruncToInt32(dividend, whole)) return kInvalidValue;
  return static_cast<double>(static_cast<int64_t>(whole) % divisor);
}

}  // namespace

DataExt Mod(const DataExt& a, const DataExt& b) {
  return MapBinary(a, b, [](double x, double y) {
    int32_t divisor;
    return ModDivisor(y, divisor) ? Remainder(x, divisor) : kInvalidValue;
  });
}

DataExt Mod(const DataExt& a, double divisor_value) {
  int32_t divisor;
  if (!ModDivisor(divisor_value, divisor)) {
    return DataExt(Broadcast(kInvalidValue, a.m_raw_data.size()));
  }
  return MapUnary(a, [divisor](double x) { return Remainder(x, divisor); });
}

DataExt ModStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kNumberOrSeries>(FORMULA_OVERLOADS(Mod));
}
