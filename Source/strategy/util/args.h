#pragma once

// The evaluated arguments of one call, as a strategy's Exec reads them. An
// Exec states the kind it takes at each position; the view checks the count
// and the kinds once per call (never per bar) and hands the function each
// argument in the form it takes. A call whose arguments do not fit gives the
// empty series: a strategy never throws over its arguments.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/data_ext.h"
#include "compiler/environment.h"
#include "strategy/util/strategy_util.h"

// How an Exec reads the argument at one position. "Refuses": the call gives
// the empty series.
enum class Arg {
  kSeries,          // a series; other kinds refuse
  kAny,             // any kind, as it came; the function reads what it needs
                    // (a number, string or drawing holds no series elements)
  kNumber,          // a single number, as a double; other kinds refuse
  kCount,           // a single number through ToCount; other kinds refuse
  kNumberOrSeries,  // a number as a double, or a series; other kinds refuse
  kNumberOrAny,     // a number as a double; other kinds as they came
  kCountOrSeries,   // a number through ToCount, or a series; other kinds refuse
  kWidenedToBars,   // a number repeated once per bar of the run; other kinds
                    // as they came
  kWidenedToFirst,  // a number repeated once per element of the first
                    // argument, or a series; other kinds refuse
};

class Args {
 public:
  // The Exec owns `values`; widening rewrites a number in place.
  Args(std::vector<DataExt>& values, const Environment& env)
      : values_(values), bar_count_(env.BarCount()) {}

  size_t Size() const { return values_.size(); }

  // Typed access; null or empty when argument i is absent or of another kind.
  const DataExt* Series(size_t i) const {
    return i < values_.size() && values_[i].isListType() ? &values_[i] : nullptr;
  }
  std::optional<double> Number(size_t i) const {
    if (i >= values_.size() || !values_[i].isSingleNumberType()) return std::nullopt;
    return values_[i].getSingleNumber();
  }
  std::optional<uint64_t> Count(size_t i) const {
    const std::optional<double> n = Number(i);
    if (!n) return std::nullopt;
    return ToCount(*n);
  }
  const std::string* Text(size_t i) const {
    return i < values_.size() && values_[i].isStringType() ? &values_[i].m_string : nullptr;
  }

  // Argument i as it came; an absent trailing argument reads as the empty
  // series.
  const DataExt& Value(size_t i) const {
    static const DataExt kAbsent;
    return i < values_.size() ? values_[i] : kAbsent;
  }

  // Calls f with one value per kind, read as the kinds say (a series or any
  // kind as `const DataExt&`, a number as `double`, a count as `uint64_t`).
  // The empty series when fewer arguments came or one of them refuses.
  template <Arg... kinds, typename F>
  DataExt Call(F f) {
    if (values_.size() < sizeof...(kinds)) return DataExt();
    return Bind<0, kinds...>(f);
  }

 private:
  template <size_t i, Arg kind, Arg... rest, typename F, typename... Read>
  DataExt Bind(F& f, const Read&... read) {
    return ReadAs<kind>(i, [&](const auto& value) -> DataExt {
      if constexpr (sizeof...(rest) == 0) {
        return f(read..., value);
      } else {
        return Bind<i + 1, rest...>(f, read..., value);
      }
    });
  }

  template <Arg kind, typename Next>
  DataExt ReadAs(size_t i, Next next) {
    DataExt& value = values_[i];
    const bool number = value.isSingleNumberType();
    const bool series = value.isListType();
    if constexpr (kind == Arg::kSeries) {
      return series ? next(value) : DataExt();
    } else if constexpr (kind == Arg::kAny) {
      return next(value);
    } else if constexpr (kind == Arg::kNumber) {
      return number ? next(value.getSingleNumber()) : DataExt();
    } else if constexpr (kind == Arg::kCount) {
      return number ? next(ToCount(value.getSingleNumber())) : DataExt();
    } else if constexpr (kind == Arg::kNumberOrSeries) {
      if (number) return next(value.getSingleNumber());
      return series ? next(value) : DataExt();
    } else if constexpr (kind == Arg::kNumberOrAny) {
      return number ? next(value.getSingleNumber()) : next(value);
    } else if constexpr (kind == Arg::kCountOrSeries) {
      if (number) return next(ToCount(value.getSingleNumber()));
      return series ? next(value) : DataExt();
    } else if constexpr (kind == Arg::kWidenedToBars) {
      WidenToBars(value, bar_count_);
      return next(value);
    } else {
      static_assert(kind == Arg::kWidenedToFirst);
      WidenToBars(value, values_[0].m_raw_data.size());
      return value.isListType() ? next(value) : DataExt();
    }
  }

  std::vector<DataExt>& values_;
  size_t bar_count_;
};

// The overloads of a free function as one callable, for Args::Call: the
// overload is chosen by the kinds the arguments were read as.
#define FORMULA_OVERLOADS(function) [](const auto&... read) { return function(read...); }
