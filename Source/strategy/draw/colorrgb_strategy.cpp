#include "strategy/draw/colorrgb_strategy.h"

#include <string>

#include "strategy/util/args.h"
#include "strategy/util/int_conversion.h"

DataExt ColorRGB(const DataExt& red, const DataExt& green, const DataExt& blue) {
  if (!red.isSingleNumberType() || !green.isSingleNumberType() || !blue.isSingleNumberType()) {
    return DataExt();
  }
  std::string text = "COLORRGB(";
  text += std::to_string(TruncToInt32(red.getSingleNumber()));
  text += ',';
  text += std::to_string(TruncToInt32(green.getSingleNumber()));
  text += ',';
  text += std::to_string(TruncToInt32(blue.getSingleNumber()));
  text += ')';
  return DataExt(std::move(text));
}

DataExt ColorrgbStrategy::Exec(std::vector<DataExt> args, Environment& env,
                               std::shared_ptr<AstNode>) {
  return Args(args, env).Call<Arg::kAny, Arg::kAny, Arg::kAny>(ColorRGB);
}
