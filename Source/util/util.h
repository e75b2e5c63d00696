#pragma once

#include <cstddef>
#include <string>

// Number text: how numbers enter the system (bar fields, literals) and how
// they leave it (output JSON, drawn numbers). Locale-independent as long as
// the process keeps the classic "C" numeric locale.
class Util {
 public:
  // Reads the longest leading number the way atof does; 0 when none.
  static double StringToDouble(const std::string& text);
  static double StringToDouble(const char* text);

  // Fixed notation with `precision` decimals, as printf("%.*f") writes it,
  // for any precision (a negative one gives printf's default, six): the text takes about `precision` bytes, so callers
  // bound the precision they accept (DoubleToStringLength tells the size).
  static std::string DoubleToString(double value, int precision);
  // DoubleToString(value, precision).size(), allocating at most a few
  // kilobytes whatever the precision.
  static size_t DoubleToStringLength(double value, int precision);

  // Appends exactly the bytes std::to_string(value) gives (printf "%f"),
  // without going through a locale-aware stream or a temporary string.
  static void AppendFixed6(std::string& out, double value);
  // The same bytes written at `out`, which has room for kMaxFixed6Bytes;
  // returns how many were written.
  static constexpr size_t kMaxFixed6Bytes = 400;
  static size_t WriteFixed6(char* out, double value);
};
