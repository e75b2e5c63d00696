#include "strategy/draw/part_line2_strategy.h"

#include <iterator>

#include "strategy/draw/draw_util.h"

DataExt PartLine2(const DataExt& price, const std::vector<DataExt>& pairs) {
  const std::vector<double>& prices = SeriesOf(price);
  std::vector<const std::vector<double>*> conditions;
  std::vector<const std::string*> colors;
  for (size_t k = 0; k + 1 < pairs.size(); k += 2) {
    conditions.push_back(&SeriesOf(pairs[k]));
    colors.push_back(&pairs[k + 1].m_string);
  }
  static const std::string kNoColor;
  std::vector<PartLineEntry> lines;
  lines.reserve(prices.size());
  for (size_t i = 0; i < prices.size(); ++i) {
    const std::string* color = &kNoColor;
    for (size_t k = 0; k < conditions.size(); ++k) {
      const std::vector<double>& holds = *conditions[k];
      if (i < holds.size() && Holds(holds[i])) {
        color = colors[k];
        break;
      }
    }
    lines.emplace_back(prices[i], *color);
  }
  return DataExt(DrawEntry("PARTLINE2", std::move(lines)));
}

DataExt PartLine2Strategy::Exec(std::vector<DataExt> args, Environment&,
                                std::shared_ptr<AstNode>) {
  if (args.empty()) return DataExt();
  std::vector<DataExt> pairs(std::make_move_iterator(args.begin() + 1),
                             std::make_move_iterator(args.end()));
  for (size_t k = 1; k < pairs.size(); k += 2) {
    if (!pairs[k].isStringType()) return DataExt();
  }
  return PartLine2(args[0], pairs);
}
