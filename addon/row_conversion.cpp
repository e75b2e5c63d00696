#include "row_conversion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "util/util.h"

namespace {

// The longest string V8 can hold on 64-bit hosts, in UTF-16 units. A UTF-8
// text of at most this many bytes never has more units than bytes.
constexpr size_t kMaxJsStringBytes = (size_t{1} << 29) - 24;

// Rows reserved up front at most: a sparse array may report a length of
// billions while holding nothing.
constexpr uint32_t kMaxReservedRows = 1u << 20;

constexpr uint32_t kRowsPerHandleScope = 256;

// Turns a failed Node-API call into the C++ form of its pending JavaScript
// exception (a getter or toString that threw), or else an Error with the
// call's status.
void Check(napi_env env, napi_status status) {
  if (status != napi_ok) ThrowFailedCall(env, status, "reading a bar", "a Node-API call failed");
}

// Rows that cannot become objects: the only ones outside the contract.
bool IsNullish(Napi::Value value) { return value.IsNull() || value.IsUndefined(); }

enum Key { kClose, kOpen, kHigh, kLow, kTime, kVol, kKeyCount };
constexpr const char* kKeyNames[kKeyCount] = {"c", "o", "h", "l", "t", "v"};

}  // namespace

RowReader::RowReader(Napi::Env env) : m_env(env) {
  for (int k = 0; k < kKeyCount; ++k) m_keys[k] = Napi::String::New(env, kKeyNames[k]);
}

BarRow RowReader::Read(Napi::Value row, const char* method) const {
  if (IsNullish(row)) {
    throw Napi::TypeError::New(m_env, std::string(method) + ": expected a bar object");
  }
  // A primitive row is read through its wrapper object, as a property read
  // in JavaScript would: 5, 'abc' and true give bars whose fields are 0
  // unless a prototype defines them.
  napi_value object = row;
  if (!row.IsObject()) Check(m_env, napi_coerce_to_object(m_env, row, &object));
  // All six properties are read before any of them is converted, so getters
  // and toString methods run in that order.
  napi_value values[kKeyCount];
  for (int k = 0; k < kKeyCount; ++k) {
    Check(m_env, napi_get_property(m_env, object, m_keys[k], &values[k]));
  }
  bool empty_text = false;
  BarRow bar;
  bar.close = Field(values[kClose], &empty_text);
  bar.open = Field(values[kOpen], &empty_text);
  bar.high = Field(values[kHigh], &empty_text);
  bar.low = Field(values[kLow], &empty_text);
  double time = Field(values[kTime], &empty_text);
  bar.time = empty_text ? NAN : time;  // an empty text is no time
  bar.vol = Field(values[kVol], &empty_text);
  return bar;
}

double RowReader::Field(napi_value value, bool* empty_text) const {
  napi_valuetype type;
  Check(m_env, napi_typeof(m_env, value, &type));
  switch (type) {
    case napi_number: {
      // String(x) followed by atof gives x back, except that String(-0) is
      // "0" and every NaN reads as the one positive NaN atof makes.
      double number = 0;
      Check(m_env, napi_get_value_double(m_env, value, &number));
      *empty_text = false;
      if (std::isnan(number)) return std::numeric_limits<double>::quiet_NaN();
      return number == 0 ? 0.0 : number;
    }
    case napi_undefined:
    case napi_null:
      // "undefined" and "null" begin with no number.
      *empty_text = false;
      return 0.0;
    case napi_string:
      return ParseString(value, empty_text);
    default: {
      napi_value text;
      Check(m_env, napi_coerce_to_string(m_env, value, &text));
      return ParseString(text, empty_text);
    }
  }
}

double RowReader::ParseString(napi_value text, bool* empty_text) const {
  // Most field texts are short numbers: read them into a stack buffer. The
  // engine copies whole characters only (at most 4 bytes each), so a text
  // shorter than the buffer minus 4 bytes was copied completely.
  char buffer[128];
  size_t length = 0;
  Check(m_env, napi_get_value_string_utf8(m_env, text, buffer, sizeof buffer, &length));
  *empty_text = length == 0;
  if (length + 4 < sizeof buffer - 1) return Util::StringToDouble(buffer);

  Check(m_env, napi_get_value_string_utf8(m_env, text, nullptr, 0, &length));
  std::string whole(length, '\0');
  Check(m_env, napi_get_value_string_utf8(m_env, text, &whole[0], length + 1, &length));
  whole.resize(length);
  return Util::StringToDouble(whole);
}

std::vector<BarRow> RowsFromArray(Napi::Env env, Napi::Value array, const char* method) {
  if (!array.IsArray()) {
    throw Napi::TypeError::New(env, std::string(method) + ": expected an array of bar objects");
  }
  Napi::Array elements = array.As<Napi::Array>();
  RowReader reader(env);
  std::vector<BarRow> rows;
  rows.reserve(std::min(elements.Length(), kMaxReservedRows));
  // One handle scope per block of rows keeps the handles of a long array
  // from piling up without paying for a scope per row.
  uint32_t i = 0;
  while (i < elements.Length()) {
    Napi::HandleScope scope(env);
    for (uint32_t in_block = 0; in_block < kRowsPerHandleScope && i < elements.Length(); ++in_block, ++i) {
      Napi::Value element = elements.Get(i);
      if (IsNullish(element)) {
        throw Napi::TypeError::New(
            env, std::string(method) + ": bar " + std::to_string(i) + " is not an object");
      }
      rows.push_back(reader.Read(element, method));
    }
  }
  return rows;
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
