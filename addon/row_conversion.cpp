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

// readRows(rows, method, one, c, o, h, l, t, v) -> [count, c, o, h, l, t,
// v, texts] for the array `rows`, or for the one bar `rows` when `one` is
// true. The bars go into the six Float64Arrays given (at least as long as
// the array) or, when they are null or the array grows while it is read,
// into new ones; texts is null, or a list of (row * 6 + field, text) pairs
// for the fields that are neither numbers nor null/undefined (which read as
// 0). Numbers are stored as the text rule reads them: -0 as 0 (x + 0), every
// NaN as the literal NaN, the positive one; a bar of six numbers whose sum
// is a number has no NaN and takes the short way.
constexpr char kReaderSource[] = R"JS((function (ObjectOf, TypeError, Float64Array) {
  'use strict';
  // The globals above are taken once, when the module loads, no prototype
  // method is called and the list of texts has no prototype: what a program
  // later does to globals or prototypes does not reach the reader.
  const setPrototypeOf = ObjectOf.setPrototypeOf;
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
  return function readRows(rows, method, one, c0, o0, h0, l0, t0, v0) {
    if (one) rows = [rows];
    let cols = c0 !== null && c0.length >= rows.length ? [c0, o0, h0, l0, t0, v0]
      : fresh(rows.length > 16 ? rows.length : 16);
    let C = cols[0], O = cols[1], H = cols[2], L = cols[3], T = cols[4], V = cols[5];
    let texts = null;
    let i = 0;
    for (; i < rows.length; i++) {
      let row = rows[i];
      if (row === null || row === undefined) throw new TypeError(`${method}: bar ${i} is not an object`);
      if (typeof row !== 'object' && typeof row !== 'function') row = ObjectOf(row);
      const c = row.c, o = row.o, h = row.h, l = row.l, t = row.t, v = row.v;
      if (i === C.length) {
        const more = fresh(2 * i);
        for (let f = 0; f < 6; f++) for (let k = 0; k < i; k++) more[f][k] = cols[f][k];
        cols = more;
        C = cols[0]; O = cols[1]; H = cols[2]; L = cols[3]; T = cols[4]; V = cols[5];
      }
      if (typeof c === 'number' && typeof o === 'number' && typeof h === 'number' &&
          typeof l === 'number' && typeof t === 'number' && typeof v === 'number' &&
          c + o + h + l + t + v === c + o + h + l + t + v) {
        C[i] = c + 0; O[i] = o + 0; H[i] = h + 0; L[i] = l + 0; T[i] = t + 0; V[i] = v + 0;
      } else {
        if (texts === null) texts = setPrototypeOf([], null);
        const at = i * 6;
        C[i] = field(c, texts, at); O[i] = field(o, texts, at + 1); H[i] = field(h, texts, at + 2);
        L[i] = field(l, texts, at + 3); T[i] = field(t, texts, at + 4); V[i] = field(v, texts, at + 5);
      }
    }
    return [i, C, O, H, L, T, V, texts];
  };
})(Object, TypeError, Float64Array))JS";

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

std::vector<double>* ColumnOf(BarData::Columns& c, Field field) {
  std::vector<double>* columns[kFieldCount] = {&c.close, &c.open, &c.high, &c.low, &c.time, &c.vol};
  return columns[field];
}

}  // namespace

// The scratch columns lent to the reader for one read of many bars, as
// Float64Arrays over their memory. Only the reader, which drops them when it
// returns, ever holds these arrays. After a read the arrays are detached,
// which also hands their size back from the engine's count of external
// memory (left to count, it would make the engine collect garbage all the
// time). A read that threw leaves them to the collector instead: the
// exception may be the termination of a worker, under which detaching
// would abort the process. Each loan leaves about 1.3 KB of bookkeeping
// that the runtime frees when its event loop next turns, so only reads of
// at least kLentFrom bars (0.8 MB of columns) borrow; smaller ones take
// arrays of their own and are copied.
class RowReader::Loan {
 public:
  Loan(napi_env env, RowReader& reader, size_t size) : m_env(env), m_reader(reader) {
    constexpr size_t kLentFrom = 16384;
    // Not lent twice: a getter may load bars while a read is under way.
    if (reader.m_lent || size < kLentFrom) return;
    for (int f = 0; f < kFieldCount; ++f) {
      std::vector<double>& column = *ColumnOf(reader.m_scratch, static_cast<Field>(f));
      // Scratch far larger than needed would pass its size on to small bars.
      if (column.capacity() > 2 * size + 4096) std::vector<double>().swap(column);
      if (column.size() < size) column.resize(size);
      napi_value buffer, array;
      if (napi_create_external_arraybuffer(m_env, column.data(), column.size() * sizeof(double), nullptr,
                                           nullptr, &buffer) != napi_ok ||
          napi_create_typedarray(m_env, napi_float64_array, column.size(), buffer, 0, &array) != napi_ok) {
        m_count = 0;  // runtimes that refuse memory they do not own: the reader makes its own
        return;
      }
      m_arrays[f] = array;
      ++m_count;
    }
    reader.m_lent = true;
  }
  ~Loan() {
    if (m_count == kFieldCount) m_reader.m_lent = false;
  }

  // After a read that returned: no JavaScript can reach the memory any more.
  void Return() {
    for (int f = 0; f < m_count; ++f) {
      napi_value buffer;
      if (napi_get_typedarray_info(m_env, m_arrays[f], nullptr, nullptr, nullptr, &buffer, nullptr) == napi_ok) {
        napi_detach_arraybuffer(m_env, buffer);
      }
    }
  }

  // The six Float64Arrays, or six nulls.
  napi_value Array(int field) const {
    return m_count == kFieldCount ? m_arrays[field] : Napi::Env(m_env).Null();
  }
  // Whether the reader read into the lent columns (it did not when the
  // array grew while it was read).
  bool Holds(const double* data) const {
    return m_count == kFieldCount && data == m_reader.m_scratch.close.data();
  }

 private:
  napi_env m_env;
  RowReader& m_reader;
  napi_value m_arrays[kFieldCount] = {};
  int m_count = 0;
};

RowReader::RowReader(Napi::Env env) {
  napi_value read;
  Check(env, napi_run_script(env, Napi::String::New(env, kReaderSource), &read));
  m_read = Napi::Persistent(Napi::Function(env, read));
}

void RowReader::Assign(Napi::Env env, Napi::Value array, const char* method, BarData& bars) {
  if (!array.IsArray()) {
    throw Napi::TypeError::New(env, std::string(method) + ": expected an array of bar objects");
  }
  Loan loan(env, *this, array.As<Napi::Array>().Length());
  Read read = ReadBars(env, array, method, false, &loan);
  if (loan.Holds(read.columns.close)) {
    // Read in place: the scratch becomes the bars, and the bars the scratch.
    for (int f = 0; f < kFieldCount; ++f) ColumnOf(m_scratch, static_cast<Field>(f))->resize(read.columns.size);
    bars.Swap(m_scratch);
  } else {
    bars.Assign(read.columns);
  }
  loan.Return();
}

void RowReader::Append(Napi::Env env, Napi::Value array, const char* method, BarData& bars, bool prepend) {
  if (!array.IsArray()) {
    throw Napi::TypeError::New(env, std::string(method) + ": expected an array of bar objects");
  }
  Loan loan(env, *this, array.As<Napi::Array>().Length());
  Read read = ReadBars(env, array, method, false, &loan);
  if (prepend) {
    bars.Prepend(read.columns);
  } else {
    bars.Append(read.columns);
  }
  loan.Return();
}

void RowReader::ReplaceLast(Napi::Env env, Napi::Value row, const char* method, BarData& bars) {
  if (IsNullish(row)) throw Napi::TypeError::New(env, std::string(method) + ": expected a bar object");
  Read read = ReadBars(env, row, method, true, nullptr);
  bars.ReplaceLast(read.columns);  // appends when no bar is held yet
}

RowReader::Read RowReader::ReadBars(Napi::Env env, Napi::Value rows, const char* method, bool one,
                                    const Loan* loan) {
  napi_value args[3 + kFieldCount] = {rows, Napi::String::New(env, method), Napi::Boolean::New(env, one)};
  for (int f = 0; f < kFieldCount; ++f) args[3 + f] = loan ? loan->Array(f) : env.Null();
  Napi::Value answer = m_read.Value().Call(3 + kFieldCount, args);
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
