// Writes fuzzer seeds for every built-in function of the registry (every
// name, alias included, and every accepted argument count up to seven), so
// that every function is reached from the first run on. Each seed is the fuzzer's 4-byte header (60 bars, a
// daily period, bar seed 7) followed by a formula calling the function.
//
// Usage: make_seeds <directory>

#include <cstdio>
#include <string>
#include <vector>

#include "compiler/function_registry.h"

namespace {

// Arguments cycle through a series, a condition, numbers and a per-bar
// period, so both the constant and the per-bar forms appear.
const char* const kArguments[] = {"C", "5", "C>O", "2", "BARPOS", "H", "3", "L"};

std::string Call(const std::string& name, int count, bool draw, int variant) {
  if (count == 0) return "X:" + name + ";";
  std::string call = name + "(";
  for (int k = 0; k < count; ++k) {
    if (k) call += ",";
    const bool colour = draw && name == "PARTLINE2" && k >= 2 && k % 2 == 0;
    const bool text = draw && name == "DRAWTEXT" && k == 2;
    call += colour || text ? std::string("'red'") : kArguments[(k + variant) % 8];
  }
  call += ")";
  return draw ? call + ";" : "X:" + call + ";";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds <directory>\n");
    return 2;
  }
  const std::string directory = argv[1];
  int written = 0;
  for (const FunctionInfo& function : FunctionRegistry()) {
    const bool draw = function.Draws();
    std::vector<int> counts;
    for (int n = function.min_args; n <= (function.max_args == kOddFromThree ? 7 : function.max_args); ++n) {
      if (function.Accepts(static_cast<size_t>(n))) counts.push_back(n);
    }
    for (const std::string& name : function.names) {
      for (int n : counts) {
        for (int variant = 0; variant < 2; ++variant) {
          const std::string formula = Call(name, n, draw, variant);
          const std::string path = directory + "/fn-" + name + "-" + std::to_string(n) + "-" +
                                   std::to_string(variant);
          std::FILE* file = std::fopen(path.c_str(), "wb");
          if (!file) {
            std::perror(path.c_str());
            return 1;
          }
          const unsigned char header[4] = {60, 0xA0, 0x05, 7};  // 60 bars, period 1440
          std::fwrite(header, 1, sizeof header, file);
          std::fwrite(formula.data(), 1, formula.size(), file);
          std::fclose(file);
          ++written;
        }
      }
    }
  }
  std::printf("%d seeds\n", written);
  return 0;
}
