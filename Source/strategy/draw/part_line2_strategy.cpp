#include "strategy/draw/part_line2_strategy.h"

#include <iterator>
#include <memory>
#include <string>

#include "strategy/draw/draw_util.h"
#include "strategy/util/args.h"
#include "util/output_limit.h"
#include "util/util.h"

namespace {

// Bytes of one entry's JSON besides its price text and colour:
// {"price":,"color":""} and the comma between entries.
constexpr size_t kEntryFrame = 22;
// The longest price text (309 integer digits, sign, point, six decimals).
constexpr size_t kLongestPrice = 317;

// Refuses a record whose JSON could not be returned in a result. The
// colours are counted exactly; the prices by their longest text first and
// exactly only when that bound is too large.
void CheckJsonSize(const std::vector<PartLineEntry>& lines, size_t color_bytes) {
  const size_t count = lines.size();
  if (color_bytes <= kMaxOutputBytes &&
      count <= (kMaxOutputBytes - color_bytes) / (kEntryFrame + kLongestPrice)) {
    return;
  }
  size_t total = color_bytes;
  std::string scratch;
  for (const PartLineEntry& line : lines) {
    scratch.clear();
    Util::AppendFixed6(scratch, line.price);
    total += kEntryFrame + scratch.size();
    if (total > kMaxOutputBytes) break;
  }
  if (total > kMaxOutputBytes) {
    throw OutputTooLong("PARTLINE2: the coloured line over " + std::to_string(count) +
                        " bars would take more than " + std::to_string(kMaxOutputBytes) +
                        " bytes, the longest result a run may return");
  }
}

}  // namespace

DataExt PartLine2(const DataExt& price, const std::vector<DataExt>& pairs) {
  const std::vector<double>& prices = SeriesOf(price);
  // Each colour text is held once and shared by the entries that use it.
  std::vector<const std::vector<double>*> conditions;
  std::vector<std::shared_ptr<const std::string>> colors;
  for (size_t k = 0; k + 1 < pairs.size(); k += 2) {
    conditions.push_back(&SeriesOf(pairs[k]));
    colors.push_back(std::make_shared<const std::string>(pairs[k + 1].m_string));
  }
  const auto no_color = std::make_shared<const std::string>();
  std::vector<PartLineEntry> lines;
  lines.reserve(prices.size());
  size_t color_bytes = 0;
  for (size_t i = 0; i < prices.size(); ++i) {
    const std::shared_ptr<const std::string>* color = &no_color;
    for (size_t k = 0; k < conditions.size(); ++k) {
      const std::vector<double>& holds = *conditions[k];
      if (i < holds.size() && Holds(holds[i])) {
        color = &colors[k];
        break;
      }
    }
    color_bytes += (*color)->size();
    if (color_bytes > kMaxOutputBytes) CheckJsonSize(lines, color_bytes);
    lines.emplace_back(prices[i], *color);
  }
  CheckJsonSize(lines, color_bytes);
  return DataExt(DrawEntry("PARTLINE2", std::move(lines)));
}

// The price, then pairs of a condition and its colour text.
DataExt PartLine2Strategy::Exec(std::vector<DataExt> args, Environment& env,
                                std::shared_ptr<AstNode>) {
  const Args view(args, env);
  if (view.Size() == 0) return DataExt();
  for (size_t k = 2; k < view.Size(); k += 2) {
    if (!view.Text(k)) return DataExt();
  }
  std::vector<DataExt> pairs(std::make_move_iterator(args.begin() + 1),
                             std::make_move_iterator(args.end()));
  return PartLine2(args[0], pairs);
}
