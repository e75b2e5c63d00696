#include "util/util.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

double Util::StringToDouble(const std::string& text) {
  return StringToDouble(text.c_str());
}

double Util::StringToDouble(const char* text) {
  return std::strtod(text, nullptr);
}

namespace {

// Every double's decimal expansion ends within 1074 digits after the point
// (the smallest subnormal is 2^-1074); past them printf only adds zeros.
constexpr int kCompleteDecimals = 1100;

// A negative precision asks for the default of the fixed conversions,
// printf's "%.*f" and a stream's std::fixed alike: six decimals.
constexpr int kDefaultDecimals = 6;

}  // namespace

std::string Util::DoubleToString(double value, int precision) {
  if (precision < 0) precision = kDefaultDecimals;
  const int written = precision < kCompleteDecimals ? precision : kCompleteDecimals;
  // At most 309 integer digits, a sign, a point and the decimals.
  std::string text(static_cast<size_t>(written) + 320, '\0');
  int length = std::snprintf(&text[0], text.size(), "%.*f", written, value);
  if (length < 0) return std::string();
  text.resize(std::min(static_cast<size_t>(length), text.size() - 1));
  // Finite values carry a point; nan and inf are written without digits.
  if (precision > written && std::isfinite(value)) text.append(precision - written, '0');
  return text;
}

size_t Util::DoubleToStringLength(double value, int precision) {
  if (precision < 0) precision = kDefaultDecimals;
  if (precision <= kCompleteDecimals) return DoubleToString(value, precision).size();
  size_t length = DoubleToString(value, kCompleteDecimals).size();
  if (std::isfinite(value)) length += static_cast<size_t>(precision - kCompleteDecimals);
  return length;
}

namespace {

// |value| * 10^6 rounded as printf rounds (to nearest, ties to even), for
// 2^-30 <= |value| < 2^44: the value is M * 2^E with a 53-bit M, so
// M * 10^6 fits in 73 bits and the shift by -E (at most 82) stays inside
// 128 bits. The result is exact, not an approximation through a product
// in doubles.
uint64_t ScaledMicros(double magnitude) {
  uint64_t bits;
  std::memcpy(&bits, &magnitude, sizeof bits);
  // A normal double (the range above has no subnormals): implicit leading 1.
  auto m = static_cast<unsigned __int128>((bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52));
  int shift = 1075 - static_cast<int>(bits >> 52);  // magnitude = m * 2^-shift
  unsigned __int128 scaled = m * 1000000u;
  if (shift <= 0) return static_cast<uint64_t>(scaled << -shift);
  unsigned __int128 quotient = scaled >> shift;
  unsigned __int128 rest = scaled - (quotient << shift);
  unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
  if (rest > half || (rest == half && (quotient & 1))) ++quotient;
  return static_cast<uint64_t>(quotient);
}

}  // namespace

void Util::AppendFixed6(std::string& out, double value) {
  char buffer[kMaxFixed6Bytes];
  out.append(buffer, WriteFixed6(buffer, value));
}

size_t Util::WriteFixed6(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (magnitude < 17592186044416.0 /* 2^44 */) {
    // The common case: prices, volumes, flags. Written by hand from the
    // exactly rounded number of millionths.
    uint64_t micros = magnitude < 9.313225746154785e-10 /* 2^-30 */ ? 0 : ScaledMicros(magnitude);
    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* p = end;
    uint64_t whole = micros / 1000000;
    uint64_t fraction = micros % 1000000;
    for (int i = 0; i < 6; ++i) {
      *--p = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    *--p = '.';
    do {
      *--p = static_cast<char>('0' + whole % 10);
      whole /= 10;
    } while (whole);
    if (std::signbit(value)) *--p = '-';
    const size_t length = static_cast<size_t>(end - p);
    std::memcpy(out, p, length);
    return length;
  }
  // The largest double has 309 integer digits; 6 decimals, sign and point
  // fit easily in 400 bytes.
  if (!std::isfinite(value)) {
    int length = std::snprintf(out, kMaxFixed6Bytes, "%f", value);
    return static_cast<size_t>(length);
  }
  auto result = std::to_chars(out, out + kMaxFixed6Bytes, value, std::chars_format::fixed, 6);
  return static_cast<size_t>(result.ptr - out);
}
