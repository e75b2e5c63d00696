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

namespace {

// "00" to "99": two digits per step.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// |value| * 10^6 rounded as printf rounds, for |value| < 2^44. Below 2^40
// millionths the product in doubles is within 2^-14 of the exact one, so
// unless it lies near a half its rounding is the exact rounding; else (and
// for larger values) the exact product decides.
uint64_t Micros(double magnitude) {
  if (magnitude < 1099511.627776 /* 2^40 / 10^6 */) {
    const double scaled = magnitude * 1e6;
    const auto whole = static_cast<uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) > 0x1p-10) return whole + (fraction > 0.5 ? 1 : 0);
  }
  return magnitude < 9.313225746154785e-10 /* 2^-30 */ ? 0 : ScaledMicros(magnitude);
}

int DigitCount(uint64_t value) {
  int count = 1;
  for (uint64_t limit = 10; value >= limit && count < 20; limit *= 10) ++count;
  return count;
}

// Writes the `count` digits of value ending just before `end`.
void WriteDigits(char* end, uint64_t value, int count) {
  while (count >= 2) {
    const size_t pair = static_cast<size_t>(value % 100) * 2;
    value /= 100;
    end -= 2;
    end[0] = kDigitPairs[pair];
    end[1] = kDigitPairs[pair + 1];
    count -= 2;
  }
  if (count == 1) *--end = static_cast<char>('0' + value % 10);
}

}  // namespace

size_t Util::WriteFixed6(char* out, double value) {
  const double magnitude = std::fabs(value);
  if (magnitude < 17592186044416.0 /* 2^44 */) {
    // The common case: prices, volumes, flags. Written by hand from the
    // exactly rounded number of millionths, front to back.
    const uint64_t micros = Micros(magnitude);
    const uint64_t whole = micros / 1000000;
    const uint64_t fraction = micros % 1000000;
    char* p = out;
    if (std::signbit(value)) *p++ = '-';
    const int digits = DigitCount(whole);
    WriteDigits(p + digits, whole, digits);
    p += digits;
    *p++ = '.';
    WriteDigits(p + 6, fraction, 6);
    return static_cast<size_t>(p + 6 - out);
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
