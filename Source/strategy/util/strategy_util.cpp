#include "strategy/util/strategy_util.h"

#include <cmath>

#include "strategy/util/int_conversion.h"

size_t FirstValidBar(const std::vector<double>& x) {
  size_t i = 0;
  while (i < x.size() && !IsValid(x[i])) ++i;
  return i;
}

size_t FirstValidBarOfBoth(const std::vector<double>& a, const std::vector<double>& b) {
  const size_t length = MinLength(a, b);
  size_t i = 0;
  while (i < length && !(IsValid(a[i]) && IsValid(b[i]))) ++i;
  return i;
}

uint64_t ToCount(double n) {
  constexpr double kTwo64 = 18446744073709551616.0;
  if (!(n > 0.0)) return 0;  // negative, zero and NaN
  if (n < kTwo64) return static_cast<uint64_t>(n);
  if (std::isinf(n)) return 0;
  // Every double of 2^64 and above is a whole number, and fmod of it by a
  // power of two is exact: the count wraps as unsigned arithmetic does, so
  // 2^64 is 0 and 2^64 + 4096 is 4096.
  return static_cast<uint64_t>(std::fmod(n, kTwo64));
}

int32_t WindowStart(size_t i, double n) {
  int32_t start;
  return TryTruncToInt32(static_cast<double>(i) - n + 1.0, start) ? start : INT32_MIN;
}

int64_t WindowStartFrom(size_t f, size_t i, double n) {
  int64_t start = WindowStart(i, n);
  int64_t first = static_cast<int64_t>(f);
  return start > first ? start : first;
}

std::vector<double> Broadcast(double value, size_t count) {
  return std::vector<double>(count, value);
}

const std::vector<double>& SeriesOf(const DataExt& value) {
  static const std::vector<double> kNoElements;
  return value.isListType() ? value.m_raw_data : kNoElements;
}

void WidenToBars(DataExt& value, size_t bar_count) {
  if (value.isSingleNumberType()) value.setRawData(Broadcast(value.getSingleNumber(), bar_count));
}

namespace {

double FieldAt(const std::vector<double>& column, unsigned long index) {
  return index < column.size() ? column[index] : kInvalidValue;
}

}  // namespace

double StrategyUtil::Close(const BarData& bars, unsigned long index) {
  return FieldAt(bars.Close(), index);
}
double StrategyUtil::Open(const BarData& bars, unsigned long index) {
  return FieldAt(bars.Open(), index);
}
double StrategyUtil::High(const BarData& bars, unsigned long index) {
  return FieldAt(bars.High(), index);
}
double StrategyUtil::Low(const BarData& bars, unsigned long index) {
  return FieldAt(bars.Low(), index);
}
