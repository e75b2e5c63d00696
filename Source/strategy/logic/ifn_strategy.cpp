#include "strategy/logic/ifn_strategy.h"

#include "strategy/logic/if_strategy.h"
#include "strategy/logic/logic_util.h"

DataExt Ifn(const DataExt& k, const DataExt& a, const DataExt& b) { return If(k, b, a); }

DataExt Ifn(const DataExt& k, double a, double b) { return If(k, b, a); }

DataExt IfnStrategy::Exec(std::vector<DataExt> args, Environment& env, std::shared_ptr<AstNode>) {
  return DispatchNumbersOrSeries(Args(args, env), FORMULA_OVERLOADS(Ifn));
}
