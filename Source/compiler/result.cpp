#include "compiler/result.h"

#include <iostream>

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

std::string Result::JsonString() const {
  // A value takes at most about 16 bytes in typical charts; reserving avoids
  // most of the regrowth on long series.
  size_t estimate = 64;
  for (const VarModel& var : out_vars) estimate += 320 + var.datas.size() * 16;
  std::string out;
  out.reserve(estimate);
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
