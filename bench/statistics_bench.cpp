// Statistics functions with a constant 20-bar window and with a per-bar
// period series of 20.

#include "bench_util.h"
#include "strategy/statistics/ave_dev_strategy.h"
#include "strategy/statistics/covar_strategy.h"
#include "strategy/statistics/dev_sq_strategy.h"
#include "strategy/statistics/forcast_strategy.h"
#include "strategy/statistics/relate_strategy.h"
#include "strategy/statistics/slope_strategy.h"
#include "strategy/statistics/std_strategy.h"
#include "strategy/statistics/stdp_strategy.h"
#include "strategy/statistics/var_strategy.h"
#include "strategy/statistics/varp_strategy.h"

namespace {

constexpr unsigned long kWindow = 20;

struct Inputs {
  DataExt a{bench::RandomWalk(1)};
  DataExt b{bench::RandomWalk(2)};
  DataExt periods = bench::Repeated(kWindow);
};

const Inputs& D() {
  static const Inputs inputs;
  return inputs;
}

// The constant and the per-bar variant of each function.
template <DataExt (*Constant)(const DataExt&, unsigned long),
          DataExt (*PerBar)(const DataExt&, const DataExt&)>
void AddOne(std::vector<bench::Case>& cases, const std::string& name) {
  cases.push_back({name + "/const20", [] { return Constant(D().a, kWindow); }});
  cases.push_back({name + "/perbar", [] { return PerBar(D().a, D().periods); }});
}

template <DataExt (*Constant)(const DataExt&, const DataExt&, unsigned long),
          DataExt (*PerBar)(const DataExt&, const DataExt&, const DataExt&)>
void AddTwo(std::vector<bench::Case>& cases, const std::string& name) {
  cases.push_back({name + "/const20", [] { return Constant(D().a, D().b, kWindow); }});
  cases.push_back({name + "/perbar", [] { return PerBar(D().a, D().b, D().periods); }});
}

std::vector<bench::Case> Cases() {
  std::vector<bench::Case> cases;
  AddOne<Std, Std>(cases, "Std");
  AddOne<Stdp, Stdp>(cases, "Stdp");
  AddOne<Var, Var>(cases, "Var");
  AddOne<Varp, Varp>(cases, "Varp");
  AddOne<DevSq, DevSq>(cases, "DevSq");
  AddOne<AveDev, AveDev>(cases, "AveDev");
  AddOne<Slope, Slope>(cases, "Slope");
  AddOne<Forcast, Forcast>(cases, "Forcast");
  AddTwo<Covar, Covar>(cases, "Covar");
  AddTwo<Relate, Relate>(cases, "Relate");
  return cases;
}

const bool kRegistered = bench::Register("Statistics", Cases());

}  // namespace
