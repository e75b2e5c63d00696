// Logic functions, each variant on its own.

#include "bench_util.h"
#include "strategy/logic/between_strategy.h"
#include "strategy/logic/cross_strategy.h"
#include "strategy/logic/down_nday_strategy.h"
#include "strategy/logic/every_strategy.h"
#include "strategy/logic/exist_strategy.h"
#include "strategy/logic/if_strategy.h"
#include "strategy/logic/ifn_strategy.h"
#include "strategy/logic/last_strategy.h"
#include "strategy/logic/long_cross_strategy.h"
#include "strategy/logic/nday_strategy.h"
#include "strategy/logic/not_strategy.h"
#include "strategy/logic/range_strategy.h"
#include "strategy/logic/up_nday_strategy.h"
#include "strategy/logic/value_when_strategy.h"

namespace {

struct Inputs {
  std::vector<double> walk = bench::RandomWalk(11, 5.0);
  DataExt a{walk};
  DataExt b{bench::RandomWalk(12, 5.0)};
  DataExt upper{[this] {
    std::vector<double> v = walk;
    for (double& x : v) x += 10.0;
    return v;
  }()};
  DataExt rising{bench::Moves(walk, true)};
  DataExt periods{bench::RandomWholeNumbers(13, 1, 20)};
};

const Inputs& D() {
  static const Inputs inputs;
  return inputs;
}

const bool kRegistered = bench::Register(
    "Logic",
    {
        {"Cross", [] { return Cross(D().a, D().b); }},
        {"LongCross/count", [] { return LongCross(D().a, D().b, 10ul); }},
        {"LongCross/perbar", [] { return LongCross(D().a, D().b, D().periods); }},
        {"Between/numbers", [] { return Between(D().a, 990.0, 1010.0); }},
        {"Between/series", [] { return Between(D().b, D().a, D().upper); }},
        {"Range/numbers", [] { return Range(D().a, 990.0, 1010.0); }},
        {"Range/series", [] { return Range(D().b, D().a, D().upper); }},
        {"Every/count", [] { return Every(D().rising, 20ul); }},
        {"Every/perbar", [] { return Every(D().rising, D().periods); }},
        {"Exist/count", [] { return Exist(D().rising, 20ul); }},
        {"Exist/perbar", [] { return Exist(D().rising, D().periods); }},
        {"Not", [] { return Not(D().rising); }},
        {"If/series", [] { return If(D().rising, D().a, D().b); }},
        {"If/numbers", [] { return If(D().rising, 1.0, 2.0); }},
        {"Ifn/series", [] { return Ifn(D().rising, D().a, D().b); }},
        {"Last", [] { return Last(D().rising); }},
        {"UpNDay/number", [] { return UpNDay(D().a, 3.0); }},
        {"UpNDay/perbar", [] { return UpNDay(D().a, D().periods); }},
        {"DownNDay/number", [] { return DownNDay(D().a, 3.0); }},
        {"NDay/number", [] { return NDay(D().a, D().b, 3.0); }},
        {"NDay/perbar", [] { return NDay(D().a, D().b, D().periods); }},
        {"ValueWhen", [] { return ValueWhen(D().rising, D().a); }},
    });

}  // namespace
