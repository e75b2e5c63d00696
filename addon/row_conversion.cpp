#include "row_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "util/util.h"

namespace {

// The longest string V8 can hold on 64-bit hosts, in UTF-16 units. A UTF-8
// text of at most this many bytes never has more units than bytes.
constexpr size_t kMaxJsStringBytes = (size_t{1} << 29) - 24;

// Turns a failed Node-API call into the C++ form of its pending JavaScript
// exception, or else an Error with the call's status.
void Check(napi_env env, napi_status status) {
  if (status != napi_ok) ThrowFailedCall(env, status, "reading a bar", "a Node-API call failed");
}

// Rows that cannot become objects: the only ones outside the contract.
bool IsNullish(Napi::Value value) { return value.IsNull() || value.IsUndefined(); }

// The fields of a bar in the reader's order.
enum Field { kClose, kOpen, kHigh, kLow, kTime, kVol, kFieldCount };

// readRows(rows, method, one) -> [count, bars, texts] for the array `rows`,
// or for the one bar `rows` when `one` is true: `bars` a Float64Array of at
// least 6 * count elements holding the fields of each bar one after another
// in the order c, o, h, l, t, v, and `texts` null or a list of
// (row * 6 + field, text) pairs for the fields that are neither numbers nor
// null/undefined (which read as 0). Numbers are stored as x + 0, so that -0
// reads as 0 as its text does; a NaN may keep its sign and payload, which
// the C++ side then replaces by the positive NaN. The array is reused from
// call to call unless a read is already under way (a getter loading bars
// itself); a collection may take it back.
constexpr char kReaderSource[] = R"JS((function (ObjectOf, TypeError, WeakRef, Float64Array) {
  'use strict';
  // The globals above are taken once, when the module loads, no prototype
  // method is called and the list of texts has no prototype: what a program
  // later does to globals or prototypes does not reach the reader.
  const setPrototypeOf = ObjectOf.setPrototypeOf;
  let kept = null;
  let busy = false;
  function field(value, texts, at) {
    if (typeof value === 'number') return value + 0;
    if (value === undefined || value === null) return 0;
    const n = texts.length;
    texts[n] = at;
    texts[n + 1] = typeof value === 'string' ? value : `${value}`;
    return 0;
  }
  // Reads bars from row `i` on into `out` while both last and returns the
  // row it stopped at. The loop is a function of its own, with `out` fixed
  // and ending in a bare return: the engine then checks the array once, not
  // at every store, and the code it compiles while the loop runs for the
  // first time does not meet code after it that never ran (which would send
  // every later call back to the interpreter at its end).
  function fill(rows, method, state, out, i) {
    const end = out.length / 6;
    for (; i < rows.length && i < end; i++) {
      let row = rows[i];
      if (row === null || row === undefined) throw new TypeError(`${method}: bar ${i} is not an object`);
      if (typeof row !== 'object' && typeof row !== 'function') row = ObjectOf(row);
      const c = row.c, o = row.o, h = row.h, l = row.l, t = row.t, v = row.v;
      const at = 6 * i;
      if (typeof c === 'number' && typeof o === 'number' && typeof h === 'number' &&
          typeof l === 'number' && typeof t === 'number' && typeof v === 'number') {
        out[at + 5] = v + 0; out[at] = c + 0; out[at + 1] = o + 0;
        out[at + 2] = h + 0; out[at + 3] = l + 0; out[at + 4] = t + 0;
      } else {
        if (state.texts === null) state.texts = setPrototypeOf([], null);
        const texts = state.texts;
        out[at] = field(c, texts, at); out[at + 1] = field(o, texts, at + 1);
        out[at + 2] = field(h, texts, at + 2); out[at + 3] = field(l, texts, at + 3);
        out[at + 4] = field(t, texts, at + 4); out[at + 5] = field(v, texts, at + 5);
      }
    }
    return i;
  }
  return function readRows(rows, method, one) {
    if (one) rows = [rows];
    const own = !busy;
    let out = own && kept !== null ? kept.deref() : undefined;
    if (out === undefined || out.length < 6 * rows.length) out = new Float64Array(6 * (rows.length > 16 ? rows.length : 16));
    busy = true;
    try {
      const state = { texts: null };
      let count = 0;
      for (;;) {
        count = fill(rows, method, state, out, count);
        if (count >= rows.length) break;
        // The array grew while it was read (a getter adding bars).
        const more = new Float64Array(12 * count);
        more.set(out);
        out = more;
      }
      return [count, out, state.texts];
    } finally {
      if (own) {
        busy = false;
        if (kept === null || kept.deref() !== out) kept = new WeakRef(out);
      }
    }
  };
})(Object, TypeError, WeakRef, Float64Array))JS";

// The field's number from its text: atof's reading, and no time (NaN) for a
// time whose text is empty.
double ParseField(napi_env env, napi_value text, bool is_time) {
  // Most field texts are short: read them into a stack buffer. The engine
  // copies whole characters only (at most 4 bytes each), so a text shorter
  // than the buffer minus 4 bytes was copied completely.
  char buffer[128];
  size_t length = 0;
  Check(env, napi_get_value_string_utf8(env, text, buffer, sizeof buffer, &length));
  if (length == 0) return is_time ? NAN : 0.0;
  if (length + 4 < sizeof buffer - 1) return Util::StringToDouble(buffer);
  Check(env, napi_get_value_string_utf8(env, text, nullptr, 0, &length));
  std::string whole(length, '\0');
  Check(env, napi_get_value_string_utf8(env, text, &whole[0], length + 1, &length));
  whole.resize(length);
  return Util::StringToDouble(whole);
}

// Every NaN of x[0..n) as the positive NaN.
void PositiveNaN(double* x, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (x[i] != x[i]) x[i] = NAN;
  }
}

}  // namespace

RowReader::RowReader(Napi::Env env) {
  napi_value read;
  Check(env, napi_run_script(env, Napi::String::New(env, kReaderSource), &read));
  m_read = Napi::Persistent(Napi::Function(env, read));
}

RowReader::Bars RowReader::Rows(Napi::Env env, Napi::Value array, const char* method) const {
  if (!array.IsArray()) {
    throw Napi::TypeError::New(env, std::string(method) + ": expected an array of bar objects");
  }
  return Read(env, array, method, false);
}

RowReader::Bars RowReader::Row(Napi::Env env, Napi::Value row, const char* method) const {
  if (IsNullish(row)) throw Napi::TypeError::New(env, std::string(method) + ": expected a bar object");
  return Read(env, row, method, true);
}

RowReader::Bars RowReader::Read(Napi::Env env, Napi::Value rows, const char* method, bool one) const {
  Napi::Value answer = m_read.Call({rows, Napi::String::New(env, method), Napi::Boolean::New(env, one)});
  Napi::Array parts = answer.As<Napi::Array>();
  const size_t count = static_cast<size_t>(parts.Get(uint32_t{0}).As<Napi::Number>().DoubleValue());
  double* values = parts.Get(uint32_t{1}).As<Napi::Float64Array>().Data();
  BarColumns bars;
  // The fields that came as text, parsed into their places once every NaN
  // number is the positive NaN: a text keeps the NaN it reads as. Without
  // texts the copy into the engine makes NaN positive.
  Napi::Value texts = parts.Get(uint32_t{2});
  bars.positive_nan = !texts.IsArray();
  if (texts.IsArray()) {
    PositiveNaN(values, count * kFieldCount);
    Napi::Array pairs = texts.As<Napi::Array>();
    const uint32_t length = pairs.Length();
    // One handle scope per block keeps the handles of many texts from piling up.
    constexpr uint32_t kPairsPerScope = 256;
    for (uint32_t k = 0; k + 1 < length;) {
      Napi::HandleScope scope(env);
      for (uint32_t end = std::min(length - 1, k + 2 * kPairsPerScope); k < end; k += 2) {
        const size_t at = static_cast<size_t>(pairs.Get(k).As<Napi::Number>().DoubleValue());
        values[at] = ParseField(env, pairs.Get(k + 1), at % kFieldCount == kTime);
      }
    }
  }
  bars.size = count;
  bars.close = values + kClose;
  bars.open = values + kOpen;
  bars.high = values + kHigh;
  bars.low = values + kLow;
  bars.vol = values + kVol;
  bars.time = values + kTime;
  bars.stride = kFieldCount;
  return {answer, bars};
}

std::string FormulaFromValue(Napi::Value value) {
  if (value.IsUndefined()) return std::string();
  return value.ToString().Utf8Value();
}

unsigned long PeriodFromNumber(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double kTwo32 = 4294967296.0;
  // fmod of an integral double is exact; the result lies in (-2^32, 2^32).
  double low_bits = std::fmod(std::trunc(value), kTwo32);
  if (low_bits < 0) low_bits += kTwo32;
  uint32_t bits = static_cast<uint32_t>(low_bits);
  int32_t narrowed = bits > INT32_MAX ? static_cast<int32_t>(bits - 0x80000000u) + INT32_MIN
                                      : static_cast<int32_t>(bits);
  return static_cast<unsigned long>(static_cast<long>(narrowed));
}

Napi::String StringToJs(Napi::Env env, const std::string& text, const char* method) {
  if (text.size() > kMaxJsStringBytes) {
    throw Napi::Error::New(env, std::string(method) + ": result is too long for a JavaScript string");
  }
  napi_value result;
  // Output texts are nearly always plain ASCII; the engine then stores them
  // as one-byte strings, and handing them over as Latin-1 skips its UTF-8
  // decoding pass over what may be tens of megabytes.
  bool ascii = std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  napi_status status = ascii ? napi_create_string_latin1(env, text.data(), text.size(), &result)
                             : napi_create_string_utf8(env, text.data(), text.size(), &result);
  if (status != napi_ok) ThrowFailedCall(env, status, method, "could not create the result string");
  return Napi::String(env, result);
}

[[noreturn]] void ThrowFailedCall(napi_env env, napi_status status, const char* method,
                                  const char* what) {
  // The engine's own message for the status, read before any other call
  // replaces it.
  const napi_extended_error_info* info = nullptr;
  std::string message = std::string(method) + ": " + what + " (Node-API status " +
                        std::to_string(static_cast<int>(status));
  if (napi_get_last_error_info(env, &info) == napi_ok && info != nullptr &&
      info->error_message != nullptr) {
    message += ": ";
    message += info->error_message;
  }
  message += ")";
  bool pending = false;
  if (napi_is_exception_pending(env, &pending) == napi_ok && pending) {
    throw Napi::Error::New(env);  // takes the pending exception over
  }
  throw Napi::Error::New(env, message);
}
