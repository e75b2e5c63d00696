#include "compiler/result.h"

#include <cmath>
#include <iostream>

#include "util/output_limit.h"
#include "util/util.h"

VarModel::VarModel(std::string name, std::vector<double> datas,
                   std::vector<std::string> properties)
    : name(std::move(name)), datas(std::move(datas)), properties(std::move(properties)) {}

VarModel::VarModel(std::string name, DrawEntry draw, std::vector<std::string> properties)
    : name(std::move(name)), draw(std::move(draw)), properties(std::move(properties)) {}

void VarModel::AppendJson(std::string& out) const {
  out += "{\"name\":\"";
  out += name;
  out += "\",\"datas\":[";
  for (size_t i = 0; i < datas.size(); ++i) {
    if (i) out += ',';
    Util::AppendFixed6(out, datas[i]);
  }
  out += "],\"draw\":";
  draw.AppendJson(out);
  out += ",\"properties\":[";
  for (size_t i = 0; i < properties.size(); ++i) {
    if (i) out += ',';
    out += '"';
    out += properties[i];
    out += '"';
  }
  out += "]}";
}

std::string VarModel::JsonString() const {
  std::string out;
  AppendJson(out);
  return out;
}

void Result::Add(VarModel var) { out_vars.push_back(std::move(var)); }

namespace {

// Bounds of the text of one number and its comma: at least 8 bytes
// ("0.000000"); at most 23 below 2^44 (14 integer digits, sign, point, six
// decimals) and 318 for the largest doubles.
struct Bounds {
  size_t low = 0;
  size_t high = 0;

  void Text(size_t bytes) {
    low += bytes;
    high += bytes;
  }
  void Number(double value) {
    low += 8;
    high += std::fabs(value) < 17592186044416.0 ? 23 : 318;
  }
  void Numbers(const std::vector<double>& values) {
    for (double value : values) Number(value);
  }
};

// Key names and punctuation of a record with every list empty, and of one
// entry of each list besides its numbers and texts.
constexpr size_t kRecordFrame = 200;
constexpr size_t kEntryFrame = 60;

// Bounds of the record's JSON, computed without writing it.
void AddDraw(Bounds& b, const DrawEntry& draw) {
  b.Text(draw.draw_name.size() + draw.draw_text.size());
  b.high += kRecordFrame;
  for (const auto& kline : draw.draw_kline_datas) {
    b.high += kEntryFrame;
    for (const auto& [key, value] : kline) {
      b.Text(key.size());
      b.Number(value);
    }
  }
  for (const auto& e : draw.draw_positions) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Number(e.offset);
  }
  for (const auto& e : draw.part_lines) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Text(e.Color().size());
  }
  for (const auto& e : draw.draw_numbers) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Text(e.value.size());
  }
  for (const auto& e : draw.draw_sls) {
    b.high += kEntryFrame;
    b.Number(e.price);
    b.Number(e.slop);
  }
  for (const auto& e : draw.stick_lines) {
    b.high += kEntryFrame;
    b.Number(e.price1_);
    b.Number(e.price2_);
    b.Number(e.width_);
    b.Number(e.attr_);
  }
}

void AddVar(Bounds& b, const VarModel& var) {
  b.high += 64;
  b.Text(var.name.size());
  b.Numbers(var.datas);
  AddDraw(b, var.draw);
  for (const std::string& property : var.properties) {
    b.high += 3;
    b.Text(property.size());
  }
}

[[noreturn]] void RefuseLength(size_t at_least) {
  throw OutputTooLong("the result would take " + std::to_string(at_least) +
                      " bytes or more, beyond the " + std::to_string(kMaxOutputBytes) +
                      " a run may return");
}

}  // namespace

std::string Result::JsonString() const {
  // The size is bounded before any text is written: a result too long to
  // be returned is refused without building it.
  Bounds bounds;
  bounds.Text(64 + error_info.size());
  for (const VarModel& var : out_vars) AddVar(bounds, var);
  if (bounds.low > kMaxOutputBytes) RefuseLength(bounds.low);
  size_t bound = bounds.high;
  if (bound > kMaxOutputBytes) {
    // Between the bounds: measure exactly, one output line at a time.
    size_t exact = 64 + error_info.size();
    std::string scratch;
    for (const VarModel& var : out_vars) {
      scratch.clear();
      var.AppendJson(scratch);
      exact += scratch.size();
      if (exact > kMaxOutputBytes) RefuseLength(exact);
    }
    bound = exact;
  }
  std::string out;
  out.reserve(bound);
  out += "{\"out_vars\":[";
  for (size_t i = 0; i < out_vars.size(); ++i) {
    if (i) out += ',';
    out_vars[i].AppendJson(out);
  }
  out += "],\"error_info\":\"";
  out += error_info;
  out += "\"}";
  return out;
}

namespace {

bool DumpError(const std::string& error_info) {
  if (error_info.empty()) return false;
  std::cout << "error_info:\n" << error_info << std::endl;
  return true;
}

void DumpFrame(bool start) {
  if (start) std::cout << std::endl << std::endl;
  std::cout << (start ? "============== Start printing results =============="
                      : "============== End printing results ==============")
            << std::endl;
}

}  // namespace

void Result::DumpResult() const {
  if (DumpError(error_info)) return;
  DumpFrame(true);
  for (const VarModel& var : out_vars) {
    std::string line = var.name + ":{";
    for (size_t i = 0; i < var.datas.size(); ++i) {
      if (i) line += ',';
      Util::AppendFixed6(line, var.datas[i]);
    }
    std::cout << line << "}" << std::endl;
  }
  DumpFrame(false);
}

void Result::DumpDraw() const {
  if (DumpError(error_info)) return;
  DumpFrame(true);
  for (size_t i = 0; i < out_vars.size(); ++i) {
    std::cout << "[" << i << "] : {" << std::endl;
    out_vars[i].draw.Dump();
    std::string props;
    for (size_t k = 0; k < out_vars[i].properties.size(); ++k) {
      if (k) props += ", ";
      props += out_vars[i].properties[k];
    }
    std::cout << "  property: " << props << std::endl;
    std::cout << "} \n" << std::endl;
  }
  DumpFrame(false);
}
