#pragma once

#include <string>
#include <vector>

#include "compiler/data_ext.h"

// One output line of a run: a series output (datas) or a drawing output (draw).
class VarModel {
 public:
  VarModel(std::string name, std::vector<double> datas, std::vector<std::string> properties);
  VarModel(std::string name, DrawEntry draw, std::vector<std::string> properties);

  void AppendJson(std::string& out) const;
  std::string JsonString() const;

  std::string name;
  std::vector<double> datas;
  DrawEntry draw;
  std::vector<std::string> properties;
};

// The outputs of one run in statement order; JsonString() is the text the
// host receives.
class Result {
 public:
  void Add(VarModel var);
  std::string JsonString() const;
  void DumpResult() const;
  void DumpDraw() const;

  std::vector<VarModel> out_vars;
  std::string error_info;
};
