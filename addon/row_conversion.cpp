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

// Columns in the reader's order.
enum Field { kClose, kOpen, kHigh, kLow, kTime, kVol, kFieldCount };

// readRows(rows, method, one) -> [count, c, o, h, l, t, v, texts] for the
// array `rows`, or for the one bar `rows` when `one` is true: the columns
// (Float64Arrays of at least `count` elements) and null, or a list of
// (row * 6 + field, text) pairs for the fields that are neither numbers nor
// null/undefined (which read as 0). Numbers are stored as the text rule
// reads them: -0 as 0 (x + 0), every NaN as the literal NaN, the positive
// one; a bar of six numbers whose sum is a number has no NaN and takes the
// short way. The columns are reused from call to call unless a read is already under
// way (a getter loading bars itself); a collection may take them back.
constexpr char kReaderSource[] = R"JS((function (ObjectOf, TypeError, WeakRef, Float64Array) {
  'use strict';
  // The globals above are taken once, when the module loads, no prototype
  // method is called and the list of texts has no prototype: what a program
  // later does to globals or prototypes does not reach the reader.
  const setPrototypeOf = ObjectOf.setPrototypeOf;
  let kept = null;
  let busy = false;
  function fresh(size) {
    return [new Float64Array(size), new Float64Array(size), new Float64Array(size),
      new Float64Array(size), new Float64Array(size), new Float64Array(size)];
  }
  function field(value, texts, at) {
    if (typeof value === 'number') return value === value ? value + 0 : NaN;
    if (value === undefined || value === null) return 0;
    const n = texts.length;
    texts[n] = at;
    texts[n + 1] = typeof value === 'string' ? value : `${value}`;
    return 0;
  }
  // Reads the bars into state.cols (grown when the array grows meanwhile)
  // and returns their count. The loop is a function of its own, ending in a
  // bare return: the code the engine compiles while the loop runs for the
  // first time would otherwise meet code after it that never ran, and drop
  // back to the interpreter at the end of every later call.
  function fill(rows, method, state) {
    let cols = state.cols;
    let C = cols[0], O = cols[1], H = cols[2], L = cols[3], T = cols[4], V = cols[5];
    let i = 0;
    for (; i < rows.length; i++) {
      let row = rows[i];
      if (row === null || row === undefined) throw new TypeError(`${method}: bar ${i} is not an object`);
      if (typeof row !== 'object' && typeof row !== 'function') row = ObjectOf(row);
      const c = row.c, o = row.o, h = row.h, l = row.l, t = row.t, v = row.v;
      if (i === C.length) {
        const more = fresh(2 * i);
        for (let f = 0; f < 6; f++) for (let k = 0; k < i; k++) more[f][k] = cols[f][k];
        cols = state.cols = more;
        C = cols[0]; O = cols[1]; H = cols[2]; L = cols[3]; T = cols[4]; V = cols[5];
      }
      if (typeof c === 'number' && typeof o === 'number' && typeof h === 'number' &&
          typeof l === 'number' && typeof t === 'number' && typeof v === 'number' &&
          c + o + h + l + t + v === c + o + h + l + t + v) {
        C[i] = c + 0; O[i] = o + 0; H[i] = h + 0; L[i] = l + 0; T[i] = t + 0; V[i] = v + 0;
      } else {
        if (state.texts === null) state.texts = setPrototypeOf([], null);
        const texts = state.texts;
        const at = i * 6;
        C[i] = field(c, texts, at); O[i] = field(o, texts, at + 1); H[i] = field(h, texts, at + 2);
        L[i] = field(l, texts, at + 3); T[i] = field(t, texts, at + 4); V[i] = field(v, texts, at + 5);
      }
    }
    return i;
  }
  return function readRows(rows, method, one) {
    if (one) rows = [rows];
    const own = !busy;
    let cols = own && kept !== null ? kept.deref() : undefined;
    if (cols === undefined || cols[0].length < rows.length) cols = fresh(rows.length > 16 ? rows.length : 16);
    busy = true;
    try {
      const state = { cols, texts: null };
      const count = fill(rows, method, state);
      cols = state.cols;
      return [count, cols[0], cols[1], cols[2], cols[3], cols[4], cols[5], state.texts];
    } finally {
      if (own) {
        busy = false;
        if (kept === null || kept.deref() !== cols) kept = new WeakRef(cols);
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
  double* columns[kFieldCount];
  for (uint32_t f = 0; f < kFieldCount; ++f) {
    columns[f] = parts.Get(f + 1).As<Napi::Float64Array>().Data();
  }
  // The fields that came as text, parsed into their places.
  Napi::Value texts = parts.Get(uint32_t{1 + kFieldCount});
  if (texts.IsArray()) {
    Napi::Array pairs = texts.As<Napi::Array>();
    const uint32_t length = pairs.Length();
    // One handle scope per block keeps the handles of many texts from piling up.
    constexpr uint32_t kPairsPerScope = 256;
    for (uint32_t k = 0; k + 1 < length;) {
      Napi::HandleScope scope(env);
      for (uint32_t end = std::min(length - 1, k + 2 * kPairsPerScope); k < end; k += 2) {
        const size_t at = static_cast<size_t>(pairs.Get(k).As<Napi::Number>().DoubleValue());
        const size_t field = at % kFieldCount;
        columns[field][at / kFieldCount] = ParseField(env, pairs.Get(k + 1), field == kTime);
      }
    }
  }
  BarColumns bars;
  bars.size = count;
  bars.close = columns[kClose];
  bars.open = columns[kOpen];
  bars.high = columns[kHigh];
  bars.low = columns[kLow];
  bars.vol = columns[kVol];
  bars.time = columns[kTime];
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
