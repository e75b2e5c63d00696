#include "strategy/math/round2_strategy.h"

#include <cmath>
#include <cstdint>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"

namespace {

// floor(x) + (floor(frac * 10^steps + 0.5) / 10^steps), with the powers
// applied one step at a time. A step stops changing the value once it is 0,
// infinite or NaN, so the loops end there: a huge count costs at most a few
// hundred steps and gives the same result as running every step.
double RoundFraction(double x, uint64_t steps) {
  const double whole = std::floor(x);
  double fraction = x - whole;
  for (uint64_t k = 0; k < steps && std::isfinite(fraction) && fraction != 0.0; ++k) {
    fraction *= 10.0;
  }
  double rounded = std::floor(fraction + 0.5);
  for (uint64_t k = 0; k < steps && std::isfinite(rounded) && rounded != 0.0; ++k) {
    rounded /= 10.0;
  }
  return whole + rounded;
}

// A per-bar digits count shifts once, then again while the step count is
// below it: ceil(digits) steps for digits above 0, none otherwise. The
// comparison is made in doubles, so a huge count means as many steps as
// the value takes to stop changing.
uint64_t StepsFor(double digits) {
  if (!(digits > 0.0)) return 0;
  return digits >= 18446744073709551616.0 ? UINT64_MAX : ToCount(std::ceil(digits));
}

}  // namespace

DataExt Round2(const DataExt& x, unsigned long digits) {
  return MapUnary(x, [digits](double v) { return RoundFraction(v, digits); });
}

DataExt Round2(const DataExt& x, const DataExt& digits) {
  const std::vector<double>& in = x.m_raw_data;
  const std::vector<double>& n = digits.m_raw_data;
  std::vector<double> out(in.size(), kInvalidValue);
  const size_t paired = MinLength(in, n);
  for (size_t i = 0; i < paired; ++i) {
    if (IsValid(in[i]) && IsValid(n[i])) out[i] = RoundFraction(in[i], StepsFor(n[i]));
  }
  return DataExt(std::move(out));
}

DataExt Round2Strategy::Exec(std::vector<DataExt> args, Environment& env,
                             std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kCountOrSeries>(FORMULA_OVERLOADS(Round2));
}
