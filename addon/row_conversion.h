#pragma once

#include <napi.h>

#include <string>

#include "compiler/bar_data.h"

// Conversions between JavaScript values and the engine's types. Every
// JavaScript value the module reads passes through this layer.
//
// A bar field is read as the text String(value) gives, then parsed the way
// atof parses it. A field that is a number is taken as it is, which gives
// the same double except for -0 (read as 0, as its text is "0") and NaN
// (always the one positive NaN); only other values go through text.

// Reads bar objects into columns. Reading six properties of each bar through
// Node-API would cost several calls per field; instead a small JavaScript
// function, compiled once per thread that loads the module, reads the
// fields where the engine compiles the property reads and writes the
// numbers into one Float64Array, bar after bar, and hands back, for the rare
// field that is not a number, its text (String(value), toString methods run
// there in field order). The C++ side gives every NaN the positive sign,
// parses those texts and passes the bars on.
class RowReader {
 public:
  explicit RowReader(Napi::Env env);

  // Bars read from JavaScript: views into the reader's array, which stay
  // valid while `keep` is reachable (the rest of the calling method).
  struct Bars {
    Napi::Value keep;
    BarColumns columns;
  };

  // Every element of a JavaScript array as a bar, in index order. The
  // length is read again before each element, as a loop over the array in
  // JavaScript would. Throws a TypeError naming `method` for a non-array or
  // a null or undefined element (a hole reads as undefined).
  Bars Rows(Napi::Env env, Napi::Value array, const char* method) const;
  // One bar; a TypeError naming `method` for null or undefined.
  Bars Row(Napi::Env env, Napi::Value row, const char* method) const;

 private:
  Bars Read(Napi::Env env, Napi::Value rows, const char* method, bool one) const;

  Napi::FunctionReference m_read;
};

// The formula text of the constructor argument: "" for undefined, else the
// UTF-8 of String(value) (a Symbol throws the engine's TypeError).
std::string FormulaFromValue(Napi::Value value);

// A period as JavaScript's `x | 0` narrows it (truncation toward zero,
// modulo 2^32, NaN and infinities giving 0), widened with its sign.
unsigned long PeriodFromNumber(double value);

// The text as a JavaScript string; throws an Error naming `method` when the
// text cannot become one: longer than the engine's string limit, or a
// failed call (the engine shutting down), reported with its real status.
Napi::String StringToJs(Napi::Env env, const std::string& text, const char* method);

// Throws the pending JavaScript exception, or else an Error naming `method`,
// `what` failed and the Node-API status with the engine's message for it.
// While the environment shuts down nothing can reach JavaScript any more;
// the module is built so that such an Error is dropped instead of ending
// the process.
[[noreturn]] void ThrowFailedCall(napi_env env, napi_status status, const char* method,
                                  const char* what);
