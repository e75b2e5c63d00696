// References, sums, signal filters and price limits, with constant and
// per-bar parameters.

#include "bench_util.h"
#include "strategy/reference/align_right_strategy.h"
#include "strategy/reference/alt_filter_strategy.h"
#include "strategy/reference/back_set_strategy.h"
#include "strategy/reference/const_strategy.h"
#include "strategy/reference/dt_price_strategy.h"
#include "strategy/reference/filter_strategy.h"
#include "strategy/reference/mular_strategy.h"
#include "strategy/reference/ref_strategy.h"
#include "strategy/reference/refx_strategy.h"
#include "strategy/reference/sum_bars_strategy.h"
#include "strategy/reference/sum_strategy.h"
#include "strategy/reference/zt_price_strategy.h"

namespace {

using bench::Repeated;

struct Inputs {
  std::vector<double> levels = bench::RandomWalk(42);
  DataExt walk{[this] {  // with an invalid bar in about 50
    std::vector<double> v = levels;
    const std::vector<double> gaps = bench::RandomFlags(43, 50);
    for (size_t i = 0; i < v.size(); ++i) v[i] = gaps[i] > 0.0 ? bench::kGap : v[i];
    return v;
  }()};
  DataExt factors{[this] {  // level / previous level: close to 1
    std::vector<double> v(levels.size(), 1.0);
    for (size_t i = 1; i < v.size(); ++i) v[i] = levels[i] / levels[i - 1];
    return v;
  }()};
  DataExt up{bench::Moves(levels, true)};
  DataExt down{bench::Moves(levels, false)};
  DataExt periods{bench::RandomWholeNumbers(44, 1, 30)};
};

const Inputs& D() {
  static const Inputs inputs;
  return inputs;
}

// A per-bar period too long for any window: every window runs to bar 0.
const DataExt& Huge() {
  static const DataExt huge = Repeated(1e12);
  return huge;
}

const bool kRegistered = bench::Register(
    "References",
    {
        {"Ref/const5", [] { return Ref(D().walk, 5); }},
        {"Ref/perbar", [] { return Ref(D().walk, D().periods); }},
        {"Refx/const5", [] { return Refx(D().walk, 5); }},
        {"Refx/perbar", [] { return Refx(D().walk, D().periods); }},
        {"Sum/const20", [] { return Sum(D().walk, 20); }},
        {"Sum/cumulative", [] { return Sum(D().walk, 0); }},
        {"Sum/perbar", [] { return Sum(D().walk, D().periods); }},
        {"Sum/perbar_huge", [] { return Sum(D().walk, Huge()); }},
        {"SumBars/target10000",
         [] {
           static const DataExt target = Repeated(10000);
           return SumBars(D().walk, target);
         }},
        {"Mular/perbar", [] { return Mular(D().factors, D().periods); }},
        {"Mular/all", [] { return Mular(D().factors, Huge()); }},
        {"Const", [] { return Const(D().walk); }},
        {"AlignRight", [] { return AlignRight(D().walk); }},
        {"BackSet/const5", [] { return BackSet(D().up, 5.0); }},
        {"BackSet/perbar", [] { return BackSet(D().up, D().periods); }},
        {"Filter/const5", [] { return Filter(D().up, 5.0); }},
        {"Filter/perbar", [] { return Filter(D().up, D().periods); }},
        {"AltFilter", [] { return AltFilter(D().up, D().down); }},
        {"ZtPrice/const", [] { return ZtPrice(D().walk, 0.1); }},
        {"ZtPrice/perbar", [] { return ZtPrice(D().walk, D().factors); }},
        {"DtPrice/const", [] { return DtPrice(D().walk, 0.1); }},
    });

}  // namespace
