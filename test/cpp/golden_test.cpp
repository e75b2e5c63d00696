// Whole formulas against recorded outputs: every line of
// test/golden/formulas.txt is compiled and run over test/golden/bars.csv
// (period 1440, time zone UTC), and its error report or output JSON must
// equal, byte for byte, the line of the same number in expected.txt.
// FORMULA_GOLDEN_UPDATE=1 rewrites expected.txt from the current engine;
// review its diff before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "compiler/function_registry.h"

namespace {

const std::string kDir = std::string(FORMULA_SOURCE_DIR) + "/test/golden/";

std::vector<std::string> Lines(const std::string& file, bool formulas) {
  std::ifstream in(kDir + file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!formulas || (!line.empty() && line[0] != '#')) lines.push_back(line);
  }
  return lines;
}

// CSV with the header t,o,h,l,c,v; an empty time makes a bar without time.
std::vector<BarRow> Bars() {
  std::vector<BarRow> rows;
  std::vector<std::string> lines = Lines("bars.csv", false);
  for (size_t k = 1; k < lines.size(); ++k) {
    std::vector<std::string> cells;
    std::stringstream text(lines[k]);
    for (std::string cell; std::getline(text, cell, ',');) cells.push_back(cell);
    BarRow row;
    if (!cells.at(0).empty()) row.time = std::stod(cells[0]);
    row.open = std::stod(cells.at(1));
    row.high = std::stod(cells.at(2));
    row.low = std::stod(cells.at(3));
    row.close = std::stod(cells.at(4));
    row.vol = std::stod(cells.at(5));
    rows.push_back(row);
  }
  return rows;
}

std::string Outcome(const std::string& formula, const std::vector<BarRow>& bars) {
  Compiler compiler(formula);
  std::string report = compiler.Compile();
  if (!report.empty()) return report;
  compiler.Bars().Assign(bars);
  compiler.Period(1440);
  return compiler.Run();
}

TEST(Golden, FormulasGiveTheRecordedOutputs) {
  setenv("TZ", "UTC", 1);
  tzset();
  const std::vector<std::string> formulas = Lines("formulas.txt", true);
  const std::vector<BarRow> bars = Bars();
  ASSERT_EQ(bars.size(), 164u);
  if (std::getenv("FORMULA_GOLDEN_UPDATE")) {
    std::ofstream out(kDir + "expected.txt");
    for (const std::string& formula : formulas) out << Outcome(formula, bars) << '\n';
    GTEST_SKIP() << "expected.txt rewritten";
  }
  const std::vector<std::string> expected = Lines("expected.txt", false);
  ASSERT_EQ(expected.size(), formulas.size()) << "run with FORMULA_GOLDEN_UPDATE=1";
  for (size_t k = 0; k < formulas.size(); ++k) {
    EXPECT_EQ(Outcome(formulas[k], bars), expected[k]) << "formula: " << formulas[k];
  }
}

// A new function is not done until its row's names are run here.
TEST(Golden, EveryRegistryNameIsRun) {
  std::string all;
  for (const std::string& formula : Lines("formulas.txt", true)) all += formula + "\n";
  for (const FunctionInfo& f : FunctionRegistry()) {
    for (const std::string& name : f.names) {
      EXPECT_TRUE(all.find(name + "(") != std::string::npos ||
                  all.find(name + ";") != std::string::npos)
          << name << " is missing from formulas.txt";
    }
  }
}

}  // namespace
