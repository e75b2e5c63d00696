#include "util/util.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

double Util::StringToDouble(const std::string& text) {
  return StringToDouble(text.c_str());
}

double Util::StringToDouble(const char* text) {
  return std::strtod(text, nullptr);
}

std::string Util::DoubleToString(double value, int precision) {
  if (precision < 0) precision = 0;
  if (precision > 340) precision = 340;
  char buffer[720];
  int length = std::snprintf(buffer, sizeof buffer, "%.*f", precision, value);
  if (length < 0) return std::string();
  if (length >= static_cast<int>(sizeof buffer)) length = sizeof buffer - 1;
  return std::string(buffer, static_cast<size_t>(length));
}

void Util::AppendFixed6(std::string& out, double value) {
  // The largest double has 309 integer digits; 6 decimals, sign and point
  // fit easily in 400 bytes.
  char buffer[400];
  if (!std::isfinite(value)) {
    int length = std::snprintf(buffer, sizeof buffer, "%f", value);
    out.append(buffer, static_cast<size_t>(length));
    return;
  }
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                              std::chars_format::fixed, 6);
  out.append(buffer, result.ptr);
}
