#pragma once

#include <napi.h>

#include <string>
#include <vector>

#include "compiler/bar_data.h"

// Conversions between JavaScript values and the engine's types. Every
// JavaScript value the module reads passes through this layer.
//
// A bar field is read as the text String(value) gives, then parsed the way
// atof parses it; the readers below take shortcuts (a number is used as it
// is) only where the shortcut gives the same double.

// Reads the six fields "c", "o", "h", "l", "t", "v" of bar objects. The six
// property keys are made once per reader, not once per row.
class RowReader {
 public:
  explicit RowReader(Napi::Env env);

  // A primitive row is read through its wrapper object. `method` names the
  // calling method in the TypeError thrown for null and undefined.
  // Exceptions thrown by getters or by toString propagate unchanged.
  BarRow Read(Napi::Value row, const char* method) const;

 private:
  // The field's number; sets *empty_text when String(value) is "".
  double Field(napi_value value, bool* empty_text) const;
  double ParseString(napi_value text, bool* empty_text) const;

  Napi::Env m_env;
  Napi::String m_keys[6];
};

// Every element of a JavaScript array as a bar row, in index order. The
// length is read again before each element, as a loop over the array in
// JavaScript would. Throws a TypeError naming `method` for a non-array or a
// null or undefined element (a hole reads as undefined).
std::vector<BarRow> RowsFromArray(Napi::Env env, Napi::Value array, const char* method);

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
