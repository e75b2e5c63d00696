#include "strategy/math/rand_strategy.h"

#include <cstdlib>

#include "strategy/math/math_map.h"
#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"

namespace {

// Draws only for a usable bound, so no modulus by 0 is ever taken. The sum
// is formed in doubles: rand() % INT32_MIN may be RAND_MAX, and + 1 in int
// would overflow.
double DrawUpTo(double bound) {
  int32_t modulus;
  if (!IsValid(bound) || !TryTruncToInt32(bound, modulus) || modulus == 0) return kInvalidValue;
  return static_cast<double>(std::rand() % modulus) + 1.0;
}

}  // namespace

DataExt Rand(const DataExt& bound) { return MapUnary(bound, DrawUpTo); }

DataExt Rand(const DataExt& bound, Environment& env) {
  return DataExt(Broadcast(DrawUpTo(bound.getSingleNumber()), env.BarCount()));
}

// A single number draws once for every bar; a series draws once per element.
DataExt RandStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  Args view(args, env);
  if (view.Number(0)) return Rand(view.Value(0), env);
  return view.Call<Arg::kAny>([](const DataExt& bound) { return Rand(bound); });
}
